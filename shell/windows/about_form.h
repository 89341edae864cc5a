#pragma once
// The about box: a picture, five facts and the project's two links. Closed
// with Esc, its close button, or by following a link; closing only hides it.

#include <QWidget>

class ClickableLabel;
class QLabel;

class TAboutForm : public QWidget {
  Q_OBJECT

 public:
  explicit TAboutForm(QWidget* parent = nullptr);

  ClickableLabel* la_website_2 = nullptr;
  ClickableLabel* la_email_2 = nullptr;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void la_website_2Click();
  void la_email_2Click();

  QLabel* im_picture = nullptr;
};
