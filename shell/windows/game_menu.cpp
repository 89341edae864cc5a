#include "game_menu.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>

#include "clickable_label.h"
#include "game_menu_art.h"

namespace zarvik {

namespace {

// The menu button has no picture of its own: it lies over the icon of the
// menu's picture and clicks as a push button does.
class ClickArea : public QAbstractButton {
 public:
  explicit ClickArea(QWidget* parent) : QAbstractButton(parent) {}

 protected:
  void paintEvent(QPaintEvent*) override {}
};

}  // namespace

GameMenu::GameMenu(std::vector<Entry> entries, QWidget& face)
    : QWidget(&face), entries_(std::move(entries)), MenuRows(entries_.size()) {
  resize(kGameMenuButtonSize);
  setCursor(Qt::ArrowCursor);
  btn_game_menu_top = new ClickArea(this);
  btn_game_menu_top->setGeometry(QRect(QPoint(0, 0), kGameMenuButtonSize));
  btn_game_menu_top->setCursor(Qt::PointingHandCursor);
  btn_game_menu_top->setFocusPolicy(Qt::NoFocus);  // the face keeps the keyboard
  connect(btn_game_menu_top, &QAbstractButton::clicked, this, &GameMenu::btn_game_menu_topClick);
}

void GameMenu::btn_game_menu_topClick() {
  GameMenuOpen = !GameMenuOpen;
  Vid_Display_Game_Menu(GameMenuOpen);
}

void GameMenu::fold() {
  if (!GameMenuOpen) return;
  GameMenuOpen = false;
  Vid_Display_Game_Menu(GameMenuOpen);
}

// Rows are built from the entries at each unfold, so they show the check
// marks of that moment, and destroyed at each fold. A row may be destroyed
// while its own click is being handled: deleteLater waits until it is done.
void GameMenu::Vid_Display_Game_Menu(bool) {
  const QRect before = geometry();
  if (!GameMenuOpen) {
    for (QPointer<QLabel>& row : MenuRows)
      if (row) {
        row->hide();
        row->deleteLater();
        row = nullptr;
      }
    resize(kGameMenuButtonSize);
  } else {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      const Entry& entry = entries_[i];
      QLabel* row = entry.action->isSeparator() ? new QLabel(this) : new ClickableLabel(this);
      row->setGeometry(0, kGameMenuRowHeight * int(i + 1), kGameMenuOpenSize.width(), kGameMenuRowHeight);
      row->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      if (auto* clickable = qobject_cast<ClickableLabel*>(row)) {
        QString text = QStringLiteral("   ") + entry.caption;
        if (entry.action->isChecked()) text += QStringLiteral(" [V]");
        row->setText(text);
        row->setFont(gameMenuRowFont());
        QPalette palette = row->palette();
        palette.setColor(QPalette::WindowText, Qt::white);
        palette.setColor(QPalette::Window, Qt::black);
        row->setPalette(palette);
        row->setEnabled(entry.action->isEnabled());
        if (entry.action->isEnabled()) {
          connect(clickable, &ClickableLabel::clicked, this, [this, n = int(i + 1)] { emit rowChosen(n); });
          connect(clickable, &ClickableLabel::hovered, this, [this, row](bool inside) {
            inside ? la_menu_itemMouseEnter(row) : la_menu_itemMouseLeave(row);
          });
          connect(clickable, &ClickableLabel::leftReleased, this, &GameMenu::la_menu_itemMouseUp);
        }
      }
      row->show();
      MenuRows[i] = row;
    }
    resize(kGameMenuOpenSize);
  }
  emit resized(before.united(geometry()));
}

void GameMenu::la_menu_itemMouseEnter(QLabel* row) { row->setAutoFillBackground(true); }
void GameMenu::la_menu_itemMouseLeave(QLabel* row) { row->setAutoFillBackground(false); }

void GameMenu::la_menu_itemMouseUp() {
  GameMenuOpen = false;
  Vid_Display_Game_Menu(GameMenuOpen);
}

}  // namespace zarvik
