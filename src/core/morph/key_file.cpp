#include "core/morph/key_file.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <array>
#include <cmath>

#include "core/base/message_text.h"
#include "core/maps/map_table.h"
#include "core/params/param_file.h"

namespace quill {

namespace {

constexpr std::array<std::pair<Easing, const char*>, 3> kEasingNames = {
    {{Easing::Linear, "linear"}, {Easing::Smooth, "smooth"}, {Easing::Spline, "spline"}}};

// A failure naming the field: "keys[2].time must be a number."
Failure wrongField(const QString& field, const char* rule) {
  return Failure{QCoreApplication::translate("Messages", "Cannot read the animation: %1 %2.")
                     .arg(field, QCoreApplication::translate("Messages", rule))};
}

bool isWhole(const QJsonValue& value, int low, int high) {
  const double number = value.toDouble(std::nan(""));
  return value.isDouble() && number == std::floor(number) && number >= low && number <= high;
}

Result<AnimationKey> readKey(const QJsonValue& value, const QString& field) {
  if (!value.isObject()) {
    return wrongField(field, QT_TRANSLATE_NOOP("Messages", "must be an object"));
  }
  const QJsonObject object = value.toObject();
  AnimationKey key;
  const QJsonValue time = object.value(QStringLiteral("time"));
  if (!time.isDouble() || !std::isfinite(time.toDouble())) {
    return wrongField(field + QStringLiteral(".time"),
                      QT_TRANSLATE_NOOP("Messages", "must be a number of seconds"));
  }
  key.time = time.toDouble();
  for (const auto& [name, target] : {std::pair{"name", &key.name}, {"source", &key.source}}) {
    const QJsonValue text = object.value(QLatin1String(name));
    if (text.isUndefined()) continue;
    if (!text.isString()) {
      return wrongField(field + u'.' + QLatin1String(name),
                        QT_TRANSLATE_NOOP("Messages", "must be text"));
    }
    *target = text.toString();
  }
  const QJsonValue maps = object.value(QStringLiteral("maps"));
  const QJsonArray rows = maps.toArray();
  if (!maps.isArray() || rows.isEmpty() || rows.size() > kMaxMaps) {
    return wrongField(field + QStringLiteral(".maps"),
                      QT_TRANSLATE_NOOP("Messages", "must be a list of 1 to 10 maps"));
  }
  for (qsizetype i = 0; i < rows.size(); ++i) {
    const QJsonArray values = rows[i].toArray();
    bool numbers = rows[i].isArray() && values.size() == 7;
    for (const QJsonValue& number : values) {
      numbers = numbers && number.isDouble() && std::isfinite(number.toDouble());
    }
    if (!numbers) {
      return wrongField(field + QStringLiteral(".maps[%1]").arg(i + 1),
                        QT_TRANSLATE_NOOP("Messages", "must be 7 numbers (a b c d e f p)"));
    }
    key.maps.push_back({{values[0].toDouble(), values[1].toDouble(), values[2].toDouble(),
                         values[3].toDouble(), values[4].toDouble(), values[5].toDouble()},
                        values[6].toDouble()});
  }
  return key;
}

Result<Matching> readPairs(const QJsonValue& value, const QString& field) {
  Matching matching;
  const QJsonArray pairs = value.toArray();
  if (!value.isArray() || pairs.isEmpty() || pairs.size() > kMaxMaps) {
    return wrongField(field, QT_TRANSLATE_NOOP("Messages", "must be a list of 1 to 10 pairs"));
  }
  for (qsizetype i = 0; i < pairs.size(); ++i) {
    const QJsonArray pair = pairs[i].toArray();
    if (!pairs[i].isArray() || pair.size() != 2 || !isWhole(pair[0], 1, kMaxMaps) ||
        !isWhole(pair[1], 1, kMaxMaps)) {
      return wrongField(field + QStringLiteral("[%1]").arg(i + 1),
                        QT_TRANSLATE_NOOP("Messages", "must be two map numbers from 1 to 10"));
    }
    matching.push_back({pair[0].toInt() - 1, pair[1].toInt() - 1});
  }
  return matching;
}

}  // namespace

QByteArray animationText(const Animation& animation) {
  QJsonObject object;
  object[QStringLiteral("format")] = QLatin1String(kAnimationFormat);
  object[QStringLiteral("version")] = kAnimationVersion;
  for (const auto& [easing, name] : kEasingNames) {
    if (easing == animation.easing) object[QStringLiteral("easing")] = QLatin1String(name);
  }
  object[QStringLiteral("loop")] = animation.loop;
  QJsonArray keys;
  for (const AnimationKey& key : animation.keys) {
    QJsonObject entry;
    entry[QStringLiteral("time")] = key.time;
    if (!key.name.isEmpty()) entry[QStringLiteral("name")] = key.name;
    if (!key.source.isEmpty()) entry[QStringLiteral("source")] = key.source;
    QJsonArray maps;
    for (const WeightedMap& m : key.maps) {
      maps.append(QJsonArray{m.map.a, m.map.b, m.map.c, m.map.d, m.map.e, m.map.f, m.p});
    }
    entry[QStringLiteral("maps")] = maps;
    keys.append(entry);
  }
  object[QStringLiteral("keys")] = keys;
  QJsonArray matchings;
  for (const auto& [segment, matching] : animation.matchings) {
    QJsonArray pairs;
    for (const MapPair& pair : matching) pairs.append(QJsonArray{pair.earlier + 1, pair.later + 1});
    matchings.append(
        QJsonObject{{QStringLiteral("segment"), segment + 1}, {QStringLiteral("pairs"), pairs}});
  }
  if (!matchings.isEmpty()) object[QStringLiteral("matchings")] = matchings;
  return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

Result<Animation> readAnimationText(const QByteArray& text) {
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(text, &error);
  if (error.error != QJsonParseError::NoError || !document.isObject()) {
    return Failure{QCoreApplication::translate(
                       "Messages", "Cannot read the animation: it is not JSON (%1 at byte %2).")
                       .arg(error.errorString())
                       .arg(error.offset)};
  }
  const QJsonObject object = document.object();
  if (object.value(QStringLiteral("format")).toString() != QLatin1String(kAnimationFormat)) {
    return wrongField(QStringLiteral("format"),
                      QT_TRANSLATE_NOOP("Messages", "must be \"quillmere-animation\""));
  }
  const QJsonValue version = object.value(QStringLiteral("version"));
  if (!isWhole(version, 1, kAnimationVersion)) {
    return wrongField(
        QStringLiteral("version"),
        QT_TRANSLATE_NOOP("Messages", "must be 1; a newer Quillmere wrote this file"));
  }
  Animation animation;
  const QJsonValue easing = object.value(QStringLiteral("easing"));
  bool known = easing.isUndefined();
  for (const auto& [kind, name] : kEasingNames) {
    if (easing.toString() == QLatin1String(name)) {
      animation.easing = kind;
      known = true;
    }
  }
  if (!known) {
    return wrongField(
        QStringLiteral("easing"),
        QT_TRANSLATE_NOOP("Messages", "must be \"linear\", \"smooth\" or \"spline\""));
  }
  const QJsonValue loop = object.value(QStringLiteral("loop"));
  if (!loop.isUndefined() && !loop.isBool()) {
    return wrongField(QStringLiteral("loop"),
                      QT_TRANSLATE_NOOP("Messages", "must be true or false"));
  }
  animation.loop = loop.toBool();
  const QJsonValue keys = object.value(QStringLiteral("keys"));
  if (!keys.isArray() || keys.toArray().isEmpty()) {
    return wrongField(QStringLiteral("keys"),
                      QT_TRANSLATE_NOOP("Messages", "must be a list of keys"));
  }
  const QJsonArray keyList = keys.toArray();
  for (qsizetype i = 0; i < keyList.size(); ++i) {
    Result<AnimationKey> key = readKey(keyList[i], QStringLiteral("keys[%1]").arg(i + 1));
    if (!key) return Failure{key.message()};
    animation.keys.push_back(std::move(key.value()));
  }
  const QJsonValue matchings = object.value(QStringLiteral("matchings"));
  if (!matchings.isUndefined() && !matchings.isArray()) {
    return wrongField(QStringLiteral("matchings"), QT_TRANSLATE_NOOP("Messages", "must be a list"));
  }
  const QJsonArray matchingList = matchings.toArray();
  for (qsizetype i = 0; i < matchingList.size(); ++i) {
    const QString field = QStringLiteral("matchings[%1]").arg(i + 1);
    const QJsonValue segment = matchingList[i].toObject().value(QStringLiteral("segment"));
    if (!isWhole(segment, 1, int(keyList.size())) ||
        animation.matchings.count(segment.toInt() - 1) > 0) {
      return wrongField(field + QStringLiteral(".segment"),
                        QT_TRANSLATE_NOOP("Messages", "must be the number of a segment, once"));
    }
    Result<Matching> pairs =
        readPairs(matchingList[i].toObject().value(QStringLiteral("pairs")), field + ".pairs");
    if (!pairs) return Failure{pairs.message()};
    animation.matchings[segment.toInt() - 1] = std::move(pairs.value());
  }
  return animation;
}

Result<Animation> readAnimationFile(const QString& path) {
  QFile file(path);
  const QFileInfo info(path);
  if (!info.exists()) return Failure{messageText(kFileNotFoundMessage)};
  // A FIFO or a device would keep the reader waiting, or never end.
  if (!info.isFile()) {
    return Failure{QCoreApplication::translate("Messages", "Cannot read the animation file.")};
  }
  if (file.size() > kMaxAnimationFileBytes) {
    return Failure{QCoreApplication::translate(
        "Messages", "Cannot read the animation: the file is too large to be one.")};
  }
  if (!file.open(QIODevice::ReadOnly)) {
    return Failure{QCoreApplication::translate("Messages", "Cannot read the animation file.")};
  }
  const QByteArray text = file.read(kMaxAnimationFileBytes + 1);
  if (text.size() > kMaxAnimationFileBytes) {
    return Failure{QCoreApplication::translate(
        "Messages", "Cannot read the animation: the file is too large to be one.")};
  }
  return readAnimationText(text);
}

Status writeAnimationFile(const QString& path, const Animation& animation) {
  return writeFileAtomically(path, animationText(animation), kAnimationSaveMessages);
}

}  // namespace quill
