// The about box offscreen: Esc hides it, each link is handed to the desktop
// and hides it, and every text fits its label.

#include "about_form.h"

#include <QDesktopServices>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include "clickable_label.h"

namespace {

class TestingAboutForm : public TAboutForm {
 public:
  using TAboutForm::la_birthdate_2;
  using TAboutForm::la_birthplace_2;
  using TAboutForm::la_email_2;
  using TAboutForm::la_hobby_2;
  using TAboutForm::la_job_2;
  using TAboutForm::la_name_2;
  using TAboutForm::la_website_2;
};

// Records what the desktop is asked to open.
class LinkRecorder : public QObject {
  Q_OBJECT
 public:
  LinkRecorder() {
    for (const char* scheme : {"https", "mailto"}) QDesktopServices::setUrlHandler(scheme, this, "open");
  }
  ~LinkRecorder() override {
    for (const char* scheme : {"https", "mailto"}) QDesktopServices::unsetUrlHandler(scheme);
  }
  QStringList opened;
 public slots:
  void open(const QUrl& url) { opened << url.toString(); }
};

TEST(AboutForm, StaysInFrontAndEscHidesIt) {
  TestingAboutForm about;
  EXPECT_EQ(about.windowTitle(), "About the author...");
  EXPECT_TRUE(about.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  about.show();
  QTest::keyClick(&about, Qt::Key_A);
  QTest::keyClick(&about, Qt::Key_Left);
  EXPECT_TRUE(about.isVisible());
  QTest::keyClick(&about, Qt::Key_Escape);
  EXPECT_FALSE(about.isVisible());
}

TEST(AboutForm, ALinkIsOpenedByTheDesktopAndHidesTheBox) {
  TestingAboutForm about;
  const std::pair<ClickableLabel*, QString> links[] = {
      {about.la_website_2, "https://www.quendrel.example/zarvik50/"},
      {about.la_email_2, "mailto:zarvik50@quendrel.example"},
  };
  for (const auto& [link, url] : links) {
    LinkRecorder recorder;
    about.show();
    QTest::mouseClick(link, Qt::RightButton);
    EXPECT_TRUE(recorder.opened.isEmpty());
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(recorder.opened, QStringList{url});
    EXPECT_FALSE(about.isVisible());
  }
}

TEST(AboutForm, EveryFactAndLinkFitsItsLabel) {
  TestingAboutForm about;
  for (const QLabel* label : {about.la_name_2, about.la_birthplace_2, about.la_birthdate_2, about.la_job_2,
                              about.la_hobby_2, static_cast<QLabel*>(about.la_website_2),
                              static_cast<QLabel*>(about.la_email_2)}) {
    EXPECT_FALSE(label->text().isEmpty());
    EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width())
        << label->text().toStdString();
  }
}

}  // namespace

#include "about_form_test.moc"
