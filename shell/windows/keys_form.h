#pragma once
// The key settings dialog: one list of the 44 bindable keys per button.
// Buttons sharing a key are named in red and the dialog refuses to accept
// until the clash is gone. Accepting stores and applies the five choices.

#include <QWidget>
#include <array>

class QComboBox;
class QLabel;
class QPushButton;
class TForm1;

class TKeysForm : public QWidget {
  Q_OBJECT

 public:
  explicit TKeysForm(TForm1& mainForm);

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
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormKeyDown(int key);
  void cbChange();

  TForm1& mainForm_;
};
