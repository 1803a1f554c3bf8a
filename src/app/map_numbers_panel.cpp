#include "app/map_numbers_panel.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <cmath>

#include "core/maps/number_text.h"

namespace quill {

namespace {

// Derived numbers (r, s and the angles) are shown to this many decimals: enough to type back.
constexpr double kShownDecimals = 1e6;

struct NumberField {
  const char* name;
  const char* caption;
  const char* tip;
};
constexpr std::array<NumberField, MapNumbersPanel::kNumberCount> kFields = {{
    {"r", "r",
     QT_TRANSLATE_NOOP("quill::MapNumbersPanel",
                       "The stretch of the square's bottom edge: |(a, c)|")},
    {"s", "s",
     QT_TRANSLATE_NOOP("quill::MapNumbersPanel",
                       "The stretch of the square's left edge: |(b, d)|")},
    {"theta", "θ°",
     QT_TRANSLATE_NOOP("quill::MapNumbersPanel",
                       "The turn of the bottom edge in degrees: a = r·cos θ, c = r·sin θ")},
    {"phi", "φ°",
     QT_TRANSLATE_NOOP("quill::MapNumbersPanel",
                       "The turn of the left edge in degrees: b = −s·sin φ, d = s·cos φ")},
    {"e", "e", QT_TRANSLATE_NOOP("quill::MapNumbersPanel", "Where the map takes (0, 0), across")},
    {"f", "f", QT_TRANSLATE_NOOP("quill::MapNumbersPanel", "Where the map takes (0, 0), up")},
    {"p", "p",
     QT_TRANSLATE_NOOP("quill::MapNumbersPanel", "How often the chaos game picks this map")},
}};

bool derived(MapNumber number) { return number <= MapNumber::Phi; }

}  // namespace

MapNumbersPanel::MapNumbersPanel(MapEditorModel& model, QWidget* parent)
    : QWidget(parent), model_(model) {
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  for (int i = 0; i < kNumberCount; ++i) {
    const NumberField& each = kFields[std::size_t(i)];
    auto* label = new QLabel(QString::fromUtf8(each.caption), this);
    auto* field = new QLineEdit(this);
    field->setObjectName(QStringLiteral("mapNumber_") + QString::fromLatin1(each.name));
    field->setToolTip(tr(each.tip));
    label->setBuddy(field);
    layout->addWidget(label, 0, 2 * i);
    layout->addWidget(field, 0, 2 * i + 1);
    layout->setColumnStretch(2 * i + 1, 1);
    fields_[std::size_t(i)] = field;
    const auto number = MapNumber(i);
    connect(field, &QLineEdit::textEdited, this,
            [this, number](const QString& text) { typed(number, text); });
    connect(field, &QLineEdit::editingFinished, this, &MapNumbersPanel::finished);
  }
  showSelection();
}

void MapNumbersPanel::showSelection() {
  const int selected = model_.selected();
  const bool shown = selected >= 0 && model_.shape(selected).has_value();
  for (int i = 0; i < kNumberCount; ++i) {
    QLineEdit* field = fields_[std::size_t(i)];
    field->setEnabled(shown);
    if (field->hasFocus() && field->isModified()) continue;  // the user is typing there
    if (!shown) {
      field->clear();
      continue;
    }
    const auto number = MapNumber(i);
    const double value = model_.number(number);
    const QString text = derived(number)
                             ? numberToText(std::round(value * kShownDecimals) / kShownDecimals)
                             : numberToText(value);
    if (field->text() != text) field->setText(text);
    field->setCursorPosition(0);
  }
}

void MapNumbersPanel::typed(MapNumber number, const QString& text) {
  const std::optional<double> value = parseNumber(text);
  if (!value) return;  // half typed ("-", "1e"): the map waits for a number
  // A new r or s on a flat edge takes its direction from the angle shown beside it.
  double angle = 0;
  if (number == MapNumber::R || number == MapNumber::S) {
    const QLineEdit* beside = field(number == MapNumber::R ? MapNumber::Theta : MapNumber::Phi);
    angle = parseNumber(beside->text()).value_or(0);
  }
  if (model_.setNumber(number, *value, angle)) emit gridEdited();
}

void MapNumbersPanel::finished() {
  model_.endStep();  // the next field's typing, or the next spell here, is a step of its own
  for (QLineEdit* field : fields_) field->setModified(false);
  showSelection();
}

}  // namespace quill
