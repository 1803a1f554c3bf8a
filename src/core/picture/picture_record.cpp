#include "core/picture/picture_record.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <cmath>

#include "core/base/message_text.h"
#include "core/base/version.h"
#include "core/maps/map_table.h"
#include "core/maps/pattern_catalogue.h"

namespace quill {

namespace {

struct Named {
  const char* name;
  int value;
};

constexpr Named kModes[] = {{"blueprint", int(PictureMode::BluePrint)},
                            {"fractal", int(PictureMode::Fractal)},
                            {"chaos", int(PictureMode::ChaosGame)}};
constexpr Named kShadings[] = {{"flat", int(Shading::Flat)},
                               {"density", int(Shading::Density)},
                               {"by-map", int(Shading::ByMap)}};

template <std::size_t N>
QString nameOf(const Named (&table)[N], int value) {
  for (const Named& entry : table) {
    if (entry.value == value) return QString::fromLatin1(entry.name);
  }
  return {};
}

template <std::size_t N>
std::optional<int> valueOf(const Named (&table)[N], const QString& name) {
  for (const Named& entry : table) {
    if (name == QLatin1String(entry.name)) return entry.value;
  }
  return std::nullopt;
}

QString colourText(Rgb colour) {
  return QStringLiteral("%1").arg(colour & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
}

std::optional<Rgb> colourOf(const QJsonValue& value) {
  static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]{6}$"));
  if (!value.isString() || !hex.match(value.toString()).hasMatch()) return std::nullopt;
  return Rgb(value.toString().toUInt(nullptr, 16));
}

// A whole number within [least, most] that JSON holds exactly.
std::optional<std::int64_t> wholeOf(const QJsonValue& value, std::int64_t least,
                                    std::int64_t most) {
  if (!value.isDouble()) return std::nullopt;
  const double number = value.toDouble();
  if (!(number >= double(least) && number <= double(most)) || std::floor(number) != number) {
    return std::nullopt;
  }
  return std::int64_t(number);
}

// 64-bit values do not fit a JSON number exactly; they are written as decimal text.
std::optional<std::uint64_t> unsignedOf(const QJsonValue& value, int base) {
  if (!value.isString()) return std::nullopt;
  bool ok = false;
  const std::uint64_t number = value.toString().toULongLong(&ok, base);
  if (!ok || value.toString().startsWith(u'+') || value.toString().startsWith(u'-')) {
    return std::nullopt;
  }
  return number;
}

// Reads the members in turn; the first that is wrong names itself in the failure.
class Reader {
 public:
  explicit Reader(const QJsonObject& object) : object_(object) {}

  const QJsonValue at(const char* key) const { return object_.value(QLatin1String(key)); }
  bool has(const char* key) const { return object_.contains(QLatin1String(key)); }
  template <class T>
  bool need(const char* key, const std::optional<T>& value, T& into) {
    if (!value) {
      if (wrong_.isEmpty()) wrong_ = QString::fromLatin1(key);
      return false;
    }
    into = *value;
    return true;
  }
  void fail(const QString& what) {
    if (wrong_.isEmpty()) wrong_ = what;
  }
  const QString& wrong() const { return wrong_; }

 private:
  const QJsonObject& object_;
  QString wrong_;
};

Failure damaged(const QString& what) {
  return Failure{messageText(kDamagedRecordMessage).arg(what)};
}

}  // namespace

QByteArray recordText(const PictureRecord& record) {
  QJsonObject object;
  object[QStringLiteral("format")] = QLatin1String(kPictureRecordFormat);
  object[QStringLiteral("version")] = kPictureRecordVersion;
  object[QStringLiteral("program")] = record.programVersion;
  object[QStringLiteral("mode")] = nameOf(kModes, int(record.mode));
  if (record.mode != PictureMode::BluePrint) object[QStringLiteral("count")] = record.count;
  object[QStringLiteral("caption")] = record.caption;
  object[QStringLiteral("pattern")] =
      record.pattern ? QJsonValue(kPatterns[std::size_t(*record.pattern)].menuCaption)
                     : QJsonValue(QJsonValue::Null);
  QJsonArray maps;
  // JSON reads "-0" back as 0: a negative zero is written as the zero it draws alike.
  const auto number = [](double value) { return QJsonValue(value + 0.0); };
  for (const WeightedMap& row : record.maps) {
    maps.append(QJsonArray{number(row.map.a), number(row.map.b), number(row.map.c),
                           number(row.map.d), number(row.map.e), number(row.map.f), number(row.p)});
  }
  object[QStringLiteral("maps")] = maps;
  object[QStringLiteral("width")] = record.width;
  object[QStringLiteral("height")] = record.height;
  object[QStringLiteral("pen")] = colourText(record.pen);
  object[QStringLiteral("paper")] = colourText(record.paper);
  object[QStringLiteral("shading")] = nameOf(kShadings, int(record.shading));
  object[QStringLiteral("gamma")] = record.gamma;
  object[QStringLiteral("supersample")] = record.supersample;
  QJsonArray colours;
  for (const Rgb colour : record.mapColours) colours.append(colourText(colour));
  object[QStringLiteral("mapColours")] = colours;
  object[QStringLiteral("depth16")] = record.depth16;
  object[QStringLiteral("seed")] = QString::number(record.seed);
  if (record.generatorState) {
    object[QStringLiteral("generatorState")] =
        QStringLiteral("%1").arg(*record.generatorState, 16, 16, QLatin1Char('0'));
  }
  if (record.drawnOver) object[QStringLiteral("drawnOver")] = true;
  return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

Result<PictureRecord> readRecordText(const QByteArray& text) {
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(text, &error);
  if (error.error != QJsonParseError::NoError || !document.isObject()) {
    return damaged(QStringLiteral("not a JSON object"));
  }
  const QJsonObject object = document.object();
  Reader in(object);
  if (in.at("format").toString() != QLatin1String(kPictureRecordFormat)) {
    return damaged(QStringLiteral("format"));
  }
  const std::optional<std::int64_t> version = wholeOf(in.at("version"), 1, INT32_MAX);
  if (!version) return damaged(QStringLiteral("version"));
  if (*version > kPictureRecordVersion) {
    return Failure{messageText(kNewerRecordMessage).arg(*version).arg(kPictureRecordVersion)};
  }

  PictureRecord record;
  record.programVersion = in.at("program").toString();
  int mode = 0;
  in.need("mode", valueOf(kModes, in.at("mode").toString()), mode);
  record.mode = PictureMode(mode);
  if (record.mode != PictureMode::BluePrint) {
    std::int64_t count = 0;
    in.need("count", wholeOf(in.at("count"), INT32_MIN, INT32_MAX), count);
    record.count = std::int32_t(count);
  }
  if (!in.at("caption").isString()) in.fail(QStringLiteral("caption"));
  record.caption = in.at("caption").toString();
  if (!in.at("pattern").isNull()) {
    const QString name = in.at("pattern").toString();
    for (int index = 0; index < kPatternCount; ++index) {
      if (kPatterns[std::size_t(index)].menuCaption == name) record.pattern = index;
    }
    if (!record.pattern) in.fail(QStringLiteral("pattern"));
  }
  const QJsonArray maps = in.at("maps").toArray();
  if (!in.at("maps").isArray() || maps.size() > kMaxMaps) in.fail(QStringLiteral("maps"));
  for (const QJsonValue& row : maps) {
    const QJsonArray values = row.toArray();
    bool numbers = row.isArray() && values.size() == 7;
    for (const QJsonValue& value : values) numbers = numbers && value.isDouble();
    if (!numbers) {
      in.fail(QStringLiteral("maps"));
      break;
    }
    record.maps.push_back({{values[0].toDouble(), values[1].toDouble(), values[2].toDouble(),
                            values[3].toDouble(), values[4].toDouble(), values[5].toDouble()},
                           values[6].toDouble()});
  }
  std::int64_t side = 0;
  if (in.need("width", wholeOf(in.at("width"), 1, kMaxPictureSide), side)) record.width = int(side);
  if (in.need("height", wholeOf(in.at("height"), 1, kMaxPictureSide), side)) {
    record.height = int(side);
  }
  in.need("pen", colourOf(in.at("pen")), record.pen);
  in.need("paper", colourOf(in.at("paper")), record.paper);
  int shading = 0;
  in.need("shading", valueOf(kShadings, in.at("shading").toString()), shading);
  record.shading = Shading(shading);
  const double gamma = in.at("gamma").toDouble(-1);
  if (!(std::isfinite(gamma) && gamma > 0)) in.fail(QStringLiteral("gamma"));
  record.gamma = gamma;
  if (in.need("supersample", wholeOf(in.at("supersample"), 1, kMaxSupersample), side)) {
    record.supersample = int(side);
  }
  const QJsonArray colours = in.at("mapColours").toArray();
  if (!in.at("mapColours").isArray() || colours.size() > kMaxMaps) {
    in.fail(QStringLiteral("mapColours"));
  }
  for (const QJsonValue& value : colours) {
    Rgb colour = 0;
    if (!in.need("mapColours", colourOf(value), colour)) break;
    record.mapColours.push_back(colour);
  }
  if (!in.at("depth16").isBool()) in.fail(QStringLiteral("depth16"));
  record.depth16 = in.at("depth16").toBool();
  in.need("seed", unsignedOf(in.at("seed"), 10), record.seed);
  if (in.has("generatorState")) {
    std::uint64_t state = 0;
    if (in.need("generatorState", unsignedOf(in.at("generatorState"), 16), state)) {
      record.generatorState = state;
    }
  }
  if (in.has("drawnOver") && !in.at("drawnOver").isBool()) in.fail(QStringLiteral("drawnOver"));
  record.drawnOver = in.at("drawnOver").toBool();
  if (!in.wrong().isEmpty()) return damaged(in.wrong());
  return record;
}

}  // namespace quill
