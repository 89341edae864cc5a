#pragma once
// The key settings dialog: one list of the 44 bindable keys per button,
// starting from the bindings it is built with. Buttons sharing a key are
// named in red and the dialog refuses to accept until the clash is gone.
// Accepting tells the five choices (keysChosen); Esc, or closing it, leaves
// without a word. It is window-modal: the window it is tied to (the face,
// its transient parent) takes no input while it is open.

#include <QDialog>
#include <array>

#include "key_bindings.h"

class QComboBox;
class QLabel;
class QPushButton;

class TKeysForm : public QDialog {
  Q_OBJECT

 public:
  // Key indexes (1 to 44) in button order.
  using KeyChoices = std::array<int, zarvik::kButtonCount>;

  explicit TKeysForm(const zarvik::KeyBindings& bindings);

  // True when two buttons show the same key; paints their labels red.
  bool CheckKeys();
  void btn_acceptClick();

 protected:
  // KeyLabels[n-1] and KeyCombos[n-1] belong to button n (1 Game A ... 5 Right).
  std::array<QLabel*, 5> KeyLabels{};
  std::array<QComboBox*, 5> KeyCombos{};
  QPushButton* btn_accept = nullptr;

  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

 signals:
  void keysChosen(const TKeysForm::KeyChoices& keyIndexes);

 private:
  void FormKeyDown(int key);
  void cbChange();
};
