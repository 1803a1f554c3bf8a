#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include "core/base/result.h"
#include "core/picture/picture_record.h"

namespace quill {

// The PNG iTXt chunk holding `text` (UTF-8, uncompressed) under `keyword`: length, type, data
// and CRC, ready to stand between two chunks of a PNG file.
QByteArray pngTextChunk(const QByteArray& keyword, const QByteArray& text);

// Passes a PNG file's bytes on to `target` as an encoder writes them, with `chunk` inserted right
// after the IHDR chunk (the signature and IHDR take the first 33 bytes of every PNG). Every
// other byte is the encoder's own, so taking the chunk out gives back the file it would have
// written.
class PngChunkInserter : public QIODevice {
 public:
  PngChunkInserter(QIODevice& target, QByteArray chunk);

 protected:
  qint64 readData(char* /*data*/, qint64 /*size*/) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override;

 private:
  static constexpr qint64 kHeaderBytes = 33;
  QIODevice& target_;
  QByteArray chunk_;
  qint64 passed_ = 0;  // bytes of the encoder's passed on
};

// The record a picture file carries: the "quillmere" iTXt chunk of a PNG, or the metadata of an
// SVG. Fails with the file's message when it does not read, with kNoRecordMessage when it is no
// picture of ours or carries no record, and as readRecordText fails for a damaged or newer one.
Result<PictureRecord> readPictureRecord(const QString& path);

// Whether the file's first bytes are those of a PNG or an SVG, the pictures that carry records.
bool looksLikePicture(const QString& path);

}  // namespace quill
