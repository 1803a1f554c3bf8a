#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/base/color.h"
#include "core/base/result.h"
#include "core/maps/weighted_map.h"
#include "core/picture/picture.h"

namespace quill {

// What a picture was drawn from, carried inside the picture file (PNG iTXt chunk, SVG metadata)
// so that opening the picture restores the grid and the settings. The text is JSON, versioned by
// its "version" member; docs/picture-record.md describes every member.
struct PictureRecord {
  PictureMode mode = PictureMode::BluePrint;
  std::int32_t count = 0;  // the fractal's depth or the chaos game's points; 0 for the blue print
  QString caption;         // the panel's caption
  std::optional<int> pattern;     // the pattern chosen last (the fractal's figure follows it)
  std::vector<WeightedMap> maps;  // maps 1, 2, … as the grid gave them
  int width = 0;                  // pixels of the file
  int height = 0;
  Rgb pen = kBlack;
  Rgb paper = kWhite;
  Shading shading = Shading::Flat;
  double gamma = 2.2;
  int supersample = 1;
  std::vector<Rgb> mapColours;  // only those the user set
  bool depth16 = false;
  std::uint64_t seed = ChaosRandom::kSeed;
  // Set by pictures of the canvas, whose chaos game went on from the generator's state rather
  // than from a seed.
  std::optional<std::uint64_t> generatorState;
  // The canvas held earlier drawings, which its picture shows as well: rendered again, the
  // picture holds this drawing alone.
  bool drawnOver = false;
  QString programVersion;  // of the program that wrote the picture; not compared on reading
};

// The record's format and the newest version this program reads and writes.
inline constexpr char kPictureRecordFormat[] = "quillmere-picture";
inline constexpr int kPictureRecordVersion = 1;
// The PNG iTXt keyword and the SVG metadata element's namespace that hold the record.
inline constexpr char kPictureRecordKeyword[] = "quillmere";
inline constexpr char kPictureRecordNamespace[] = "urn:quillmere:picture";

inline const QString kNoRecordMessage = QStringLiteral(QT_TRANSLATE_NOOP(
    "Messages",
    "This picture does not say what it was drawn from: only pictures that Quillmere wrote can be "
    "opened."));
inline const QString kDamagedRecordMessage = QStringLiteral(
    QT_TRANSLATE_NOOP("Messages", "What this picture says it was drawn from is damaged (%1)."));
inline const QString kNewerRecordMessage = QStringLiteral(
    QT_TRANSLATE_NOOP("Messages",
                      "This picture was written by a newer Quillmere (record version %1); this one "
                      "reads version %2 and older. Please update Quillmere to open it."));

// The record as compact JSON, the same bytes for the same record.
QByteArray recordText(const PictureRecord& record);

// Reads a record's text. Fails with kDamagedRecordMessage (naming what is wrong) when it is not
// a whole record, or with kNewerRecordMessage when a newer version wrote it.
Result<PictureRecord> readRecordText(const QByteArray& text);

}  // namespace quill
