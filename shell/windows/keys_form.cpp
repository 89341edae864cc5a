#include "keys_form.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "fonts.h"
#include "key_bindings.h"
#include "key_codes.h"
#include "pixel_style.h"
#include "window_labels.h"

using namespace zarvik;

namespace {

constexpr int kItemHeight = 13;
constexpr int kVisibleItems = 8;  // the original system's drop-down length

// The caption is in the 3-D light colour (white), which on Qt's light button
// face would hardly show: the face is a blue that white reads clearly on
// (contrast about 6.5 : 1), and, disabled, a grey with a dimmed caption, so that the
// two states look different.
QPalette acceptPalette(QPalette palette) {
  const QColor caption = palette.color(QPalette::Light);
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(group, QPalette::Button, QColor(34, 92, 170));
    palette.setColor(group, QPalette::ButtonText, caption);
  }
  palette.setColor(QPalette::Disabled, QPalette::Button, QColor(92, 100, 112));
  palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(168, 174, 182));
  return palette;
}

}  // namespace

TKeysForm::TKeysForm(const KeyBindings& bindings)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setWindowTitle(QStringLiteral("Key settings"));
  setWindowModality(Qt::WindowModal);
  setFixedSize(448, 163);
  fillBackground(*this, kDialogBlue);

  const QFont heading = pixelFont(QStringLiteral("MS Sans Serif"), 11, Bold | Underlined);
  makeLabel(this, QStringLiteral("Main operations"), {8, 8, 104, 13}, heading, Qt::white);
  makeLabel(this, QStringLiteral("Game controls"), {336, 8, 104, 13}, heading, Qt::white,
            Qt::AlignRight | Qt::AlignVCenter);

  struct Row {
    const char* name;
    QPoint combo;
    QRect label;
    Qt::Alignment alignment;
  };
  const Row rows[kButtonCount] = {{"Game A", {8, 29}, {136, 33, 72, 14}, Qt::AlignLeft},
                                  {"Game B", {8, 61}, {136, 65, 72, 14}, Qt::AlignLeft},
                                  {"Time", {8, 93}, {136, 97, 72, 14}, Qt::AlignLeft},
                                  {"Left", {320, 29}, {240, 33, 72, 14}, Qt::AlignRight},
                                  {"Right", {320, 61}, {240, 65, 72, 14}, Qt::AlignRight}};
  auto* pixelStyle = new PixelStyle(this);
  QStringList choices;
  for (const KeyRow& row : KeyTable) choices << QString::fromLatin1(row.choiceText.data(), row.choiceText.size());

  for (int n = 1; n <= kButtonCount; ++n) {
    const Row& row = rows[n - 1];
    KeyLabels[n - 1] = makeLabel(this, QString::fromLatin1(row.name), row.label, arial(11, Bold), Qt::white,
                                 row.alignment | Qt::AlignVCenter);
    auto* combo = new QComboBox(this);
    combo->setFont(arial(11));  // a 13-pixel cell
    combo->addItems(choices);
    pixelStyle->useForScrollingList(*combo, kItemHeight, kVisibleItems);
    combo->move(row.combo);
    combo->resize(120, combo->sizeHint().height());
    combo->setCurrentIndex(bindings[n].KeyIndex - 1);
    combo->installEventFilter(this);
    connect(combo, &QComboBox::currentIndexChanged, this, &TKeysForm::cbChange);
    KeyCombos[n - 1] = combo;
  }

  btn_accept = new QPushButton(QStringLiteral("- ACCEPT -"), this);
  btn_accept->setGeometry(183, 130, 82, 25);
  btn_accept->setFont(arial(11, Bold));
  btn_accept->setCursor(Qt::PointingHandCursor);
  // Return is the dialog's own key (FormKeyDown): as a dialog's default
  // button the accept button would be drawn with another frame.
  btn_accept->setAutoDefault(false);
  pixelStyle->use(*btn_accept);
  btn_accept->setPalette(acceptPalette(btn_accept->palette()));
  btn_accept->installEventFilter(this);
  connect(btn_accept, &QPushButton::clicked, this, &TKeysForm::btn_acceptClick);

  for (int n = 1; n < kButtonCount; ++n) setTabOrder(KeyCombos[n - 1], KeyCombos[n]);
  setTabOrder(KeyCombos[kButtonCount - 1], btn_accept);
  setFocusProxy(KeyCombos[0]);

  cbChange();
}

bool TKeysForm::CheckKeys() {
  for (QLabel* label : KeyLabels) setTextColour(*label, Qt::white);
  bool clash = false;
  for (int j = 0; j < kButtonCount; ++j)
    for (int k = 0; k < kButtonCount; ++k)
      if (k != j && KeyCombos[j]->currentText() == KeyCombos[k]->currentText()) {
        setTextColour(*KeyLabels[j], Qt::red);
        setTextColour(*KeyLabels[k], Qt::red);
        clash = true;
      }
  return clash;
}

void TKeysForm::cbChange() { btn_accept->setEnabled(!CheckKeys()); }

// Every list holds a choice: the bindings it starts from always name a key of
// the table, since loading them repairs any stored index outside it.
void TKeysForm::btn_acceptClick() {
  KeyChoices keyIndexes{};
  for (int n = 1; n <= kButtonCount; ++n) keyIndexes[n - 1] = KeyCombos[n - 1]->currentIndex() + 1;
  emit keysChosen(keyIndexes);
  accept();
}

// Esc is the dialog's: it rejects.
void TKeysForm::FormKeyDown(int key) {
  if (key == vk::Return && btn_accept->isEnabled()) btn_acceptClick();
}

bool TKeysForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    FormKeyDown(virtualKeyCode(key->key(), key->modifiers()));
  }
  return QDialog::eventFilter(watched, event);
}

void TKeysForm::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) KeyCombos[0]->setFocus();
  QDialog::changeEvent(event);
}
