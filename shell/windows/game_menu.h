#pragma once
// The in-game menu of the fullscreen face: the menu button in the face's
// top-left corner, and the rows it unfolds, one for each entry of the face's
// context menu, built from the entries' captions, check marks and enabled
// flags at each unfold and destroyed at each fold. It lies over the face,
// which draws the menu's picture beneath it (folded or unfolded, as big as
// this widget); a click on a row says which row was chosen (rowChosen), and
// the face runs that entry.

#include <QLabel>
#include <QPointer>
#include <QWidget>
#include <vector>

class QAbstractButton;
class QAction;


namespace zarvik {

class GameMenu : public QWidget {
  Q_OBJECT

 public:
  struct Entry {
    QString caption;  // as the row shows it; a separator's is "-"
    QAction* action;  // the context menu's entry: its check mark and enabled flag
  };
  GameMenu(std::vector<Entry> entries, QWidget& face);

  bool isOpen() const { return GameMenuOpen; }
  // The label of row n (1 to the number of entries) while unfolded, else null.
  QLabel* row(int n) const { return MenuRows[n - 1]; }

  // Inverts GameMenuOpen and shows the menu so.
  void btn_game_menu_topClick();
  // Brings the rows and the size into the state GameMenuOpen holds.
  void Vid_Display_Game_Menu(bool open);
  // Folds the menu if it is unfolded.
  void fold();

 signals:
  void rowChosen(int row);
  // The menu changed its size; `area` holds what it covered before and after.
  void resized(const QRect& area);

 private:
  void la_menu_itemMouseEnter(QLabel* row);
  void la_menu_itemMouseLeave(QLabel* row);
  void la_menu_itemMouseUp();

  std::vector<Entry> entries_;
  QAbstractButton* btn_game_menu_top = nullptr;
  bool GameMenuOpen = false;
  std::vector<QPointer<QLabel>> MenuRows;  // while unfolded
};

}  // namespace zarvik
