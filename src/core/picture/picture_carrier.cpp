#include "core/picture/picture_carrier.h"

#include <zlib.h>

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include "core/base/message_text.h"

namespace quill {

namespace {

const QByteArray kPngSignature("\x89PNG\r\n\x1a\n", 8);
// A record is a few kilobytes; a longer chunk of ours is damaged, and is not read whole.
constexpr quint32 kMostRecordBytes = 1 << 20;

void appendBigEndian(QByteArray& bytes, quint32 value) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes.append(char((value >> shift) & 0xFF));
}

quint32 bigEndian(const char* bytes) {
  quint32 value = 0;
  for (int i = 0; i < 4; ++i) value = (value << 8) | quint8(bytes[i]);
  return value;
}

const QString kUnreadablePictureMessage =
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Cannot read the picture %1."));

// The text of the iTXt chunk named `keyword`, walking the chunks from the header on; nothing when
// there is none. A chunk's length is checked against what the file holds before it is skipped.
Result<std::optional<QByteArray>> pngRecordText(QFile& file, const QByteArray& keyword) {
  for (;;) {
    char head[8];
    if (file.read(head, 8) != 8) return std::optional<QByteArray>{};  // no IEND: no record
    const quint32 length = bigEndian(head);
    const QByteArray type(head + 4, 4);
    if (type == "IEND" || length > 0x7FFFFFFFu) return std::optional<QByteArray>{};
    if (type != "iTXt" || length > kMostRecordBytes) {
      if (!file.seek(file.pos() + qint64(length) + 4)) return std::optional<QByteArray>{};
      continue;
    }
    const QByteArray data = file.read(qint64(length));
    if (data.size() != qint64(length) || file.read(4).size() != 4) {
      return std::optional<QByteArray>{};
    }
    // keyword \0, compression flag, method, language \0, translated keyword \0, text
    const qsizetype keyEnd = data.indexOf('\0');
    if (keyEnd < 0 || data.left(keyEnd) != keyword) continue;
    if (keyEnd + 2 >= data.size() || data[keyEnd + 1] != 0) {
      return Failure{messageText(kDamagedRecordMessage).arg(QStringLiteral("compressed chunk"))};
    }
    const qsizetype languageEnd = data.indexOf('\0', keyEnd + 3);
    const qsizetype translatedEnd = languageEnd < 0 ? -1 : data.indexOf('\0', languageEnd + 1);
    if (translatedEnd < 0)
      return Failure{messageText(kDamagedRecordMessage).arg(QStringLiteral("chunk"))};
    return std::optional<QByteArray>{data.mid(translatedEnd + 1)};
  }
}

// The text of the SVG's metadata element in the record's namespace; nothing when there is none.
Result<std::optional<QByteArray>> svgRecordText(QFile& file) {
  QXmlStreamReader xml(&file);
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement() && xml.namespaceUri() == QLatin1String(kPictureRecordNamespace)) {
      const QString text = xml.readElementText();
      if (xml.hasError()) break;
      return std::optional<QByteArray>{text.toUtf8()};
    }
    // The record comes first in our files; past the first figure there is none.
    if (xml.isStartElement() && xml.name() == u"g") return std::optional<QByteArray>{};
  }
  return std::optional<QByteArray>{};
}

}  // namespace

QByteArray pngTextChunk(const QByteArray& keyword, const QByteArray& text) {
  QByteArray data = keyword;
  data.append('\0');
  data.append('\0');  // not compressed
  data.append('\0');  // compression method
  data.append('\0');  // no language tag
  data.append('\0');  // no translated keyword
  data.append(text);
  QByteArray chunk;
  appendBigEndian(chunk, quint32(data.size()));
  const QByteArray typed = QByteArray("iTXt") + data;
  chunk.append(typed);
  appendBigEndian(
      chunk, quint32(crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(typed.constData()),
                           uInt(typed.size()))));
  return chunk;
}

PngChunkInserter::PngChunkInserter(QIODevice& target, QByteArray chunk)
    : target_(target), chunk_(std::move(chunk)) {
  open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 PngChunkInserter::writeData(const char* data, qint64 size) {
  qint64 done = 0;
  if (passed_ < kHeaderBytes) {
    const qint64 head = std::min(size, kHeaderBytes - passed_);
    if (target_.write(data, head) != head) return -1;
    passed_ += head;
    done = head;
    if (passed_ == kHeaderBytes && target_.write(chunk_) != chunk_.size()) return -1;
  }
  if (done < size) {
    if (target_.write(data + done, size - done) != size - done) return -1;
    passed_ += size - done;
  }
  return size;
}

bool looksLikePicture(const QString& path) {
  // A FIFO or a device would hold the open up, or give what it gives once: not a picture.
  if (!QFileInfo(path).isFile()) return false;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray start = file.peek(256);
  return start.startsWith(kPngSignature) || start.trimmed().startsWith("<?xml") ||
         start.trimmed().startsWith("<svg");
}

Result<PictureRecord> readPictureRecord(const QString& path) {
  QFile file(path);
  if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
    return Failure{messageText(kUnreadablePictureMessage).arg(path)};
  }
  Result<std::optional<QByteArray>> text = std::optional<QByteArray>{};
  if (file.peek(8) == kPngSignature) {
    file.read(8);
    text = pngRecordText(file, QByteArray(kPictureRecordKeyword));
  } else {
    text = svgRecordText(file);
  }
  if (!text) return Failure{text.message()};
  if (!text.value()) return Failure{kNoRecordMessage};
  return readRecordText(*text.value());
}

}  // namespace quill
