#pragma once
// The about box: a picture, five facts about the simulator and the project's
// two links. Stays in front of the other windows. Closed with Esc (a
// dialog's own key), its close button, or by following a link; closing only
// hides it.

#include <QDialog>

namespace zarvik {
class ClickableLabel;
}
class QLabel;

class TAboutForm : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutForm(QWidget* parent = nullptr);

 protected:
  QLabel* im_picture = nullptr;
  QLabel* la_name_1 = nullptr;
  QLabel* la_name_2 = nullptr;
  QLabel* la_birthplace_1 = nullptr;
  QLabel* la_birthplace_2 = nullptr;
  QLabel* la_birthdate_1 = nullptr;
  QLabel* la_birthdate_2 = nullptr;
  QLabel* la_job_1 = nullptr;
  QLabel* la_job_2 = nullptr;
  QLabel* la_hobby_1 = nullptr;
  QLabel* la_hobby_2 = nullptr;
  QLabel* la_website_1 = nullptr;
  zarvik::ClickableLabel* la_website_2 = nullptr;
  QLabel* la_email_1 = nullptr;
  zarvik::ClickableLabel* la_email_2 = nullptr;

 private:
  void FormCreate();
  void la_website_2Click();
  void la_email_2Click();
};
