// The about box offscreen: Esc hides it, each link is handed to the desktop
// and hides it, and every text fits its label.

#include "about_form.h"

#include <QDesktopServices>
#include <QLabel>
#include <QTest>
#include <QUrl>
#include <functional>
#include <gtest/gtest.h>

#include "clickable_label.h"

namespace {

class TestingAboutForm : public TAboutForm {
 public:
  std::vector<QLabel*> facts() const {
    return {la_name_2, la_birthplace_2, la_birthdate_2, la_job_2, la_hobby_2, la_website_2, la_email_2};
  }
  using TAboutForm::la_email_2;
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

TEST(AboutForm, EscAndTheLinksHideItAndOnlyTheLinksOpenSomething) {
  TestingAboutForm about;
  EXPECT_EQ(about.windowTitle(), "About the author...");
  EXPECT_TRUE(about.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  const std::pair<std::function<void()>, QStringList> cases[] = {
      {[&] { QTest::keyClick(&about, Qt::Key_Escape); }, {}},
      {[&] { QTest::mouseClick(about.la_website_2, Qt::LeftButton); }, {"https://www.quendrel.example/zarvik50/"}},
      {[&] { QTest::mouseClick(about.la_email_2, Qt::LeftButton); }, {"mailto:zarvik50@quendrel.example"}},
  };
  for (const auto& [act, opened] : cases) {
    LinkRecorder recorder;
    about.show();
    QTest::keyClick(&about, Qt::Key_Left);
    QTest::mouseClick(about.la_website_2, Qt::RightButton);
    EXPECT_TRUE(about.isVisible());
    act();
    EXPECT_EQ(recorder.opened, opened);
    EXPECT_FALSE(about.isVisible());
  }
}

TEST(AboutForm, EveryFactAndLinkFitsItsLabel) {
  TestingAboutForm about;
  for (const QLabel* label : about.facts()) {
    EXPECT_FALSE(label->text().isEmpty());
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
        << label->text().toStdString();
  }
}

}  // namespace

#include "about_form_test.moc"
