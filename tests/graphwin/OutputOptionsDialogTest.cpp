#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include "tests/graphwin/ModalHelpers.h"
#include "tests/support/ButtonLook.h"
#include "tests/support/FakeFrame.h"
#include "ui/graph/OutputOptionsDialog.h"
#include "ui/graph/ProgressDialog.h"

namespace {

class Form2Test : public ::testing::Test {
 protected:
  // Shows the dialog modally in print mode for a 632 x 453 picture on a 4800 x 6600 page.
  void ShowForPrint(std::function<void()> act) {
    form.PrintMode = true;
    form.PictureWidth = 632;
    form.PictureHeight = 453;
    form.PaperWidth = 4800;
    form.PaperHeight = 6600;
    frame.Shared.PrintCancelled = false;
    WhenShown(form, std::move(act));
    form.ShowModal();
  }

  void ShowForJpeg(std::function<void()> act) {
    form.PrintMode = false;
    frame.Shared.SaveCancelled = false;
    WhenShown(form, std::move(act));
    form.ShowModal();
  }

  void Type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }

  FakeFrame frame;
  TForm2 form{frame.Questions, frame.Shared, frame.PrinterDevice};
};

TEST_F(Form2Test, DialogButtonsAreDrawnAsButtonsAndKeepTheirCaptions) {
  TForm3 progress(frame.Context(), frame.Parser, frame.Shared, frame.PrinterDevice, form);
  const std::pair<QPushButton*, const char*> buttons[] = {{form.Button1, "&Ok           "},
                                                          {form.Button2, "A&bbrechen"},
                                                          {form.Button4, "&Hilfe           "},
                                                          {form.Button3, "&Drucker Setup"},
                                                          {progress.SpeedButton1, "A&bbrechen"}};
  for (const auto& [button, caption] : buttons) {
    EXPECT_EQ(button->text(), QString::fromUtf8(caption));
    EXPECT_TRUE(DrawnAsButton(*button)) << caption;
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus) << caption;
  }
}

TEST_F(Form2Test, JpegQualityComesFromTheSliderOnConfirmation) {
  struct Case {
    int Slider;  // 0: left where it was
    bool ByEnter;
    int Quality;
  };
  for (const Case c : {Case{0, false, 60}, Case{1, false, 2}, Case{50, true, 100}}) {
    SCOPED_TRACE(c.Slider);
    frame.Shared.JpegQuality = 0;
    ShowForJpeg([&] {
      EXPECT_EQ(form.windowTitle(), QStringLiteral("JPEG Qualität"));
      EXPECT_FALSE(form.Panel2->isVisible());
      if (c.Slider) form.TrackBar1->setValue(c.Slider);
      if (c.ByEnter)
        QTest::keyClick(form.TrackBar1, Qt::Key_Return);
      else
        QTest::mouseClick(form.Button1, Qt::LeftButton);
    });
    EXPECT_EQ(frame.Shared.JpegQuality, c.Quality);
    EXPECT_FALSE(frame.Shared.SaveCancelled);
  }
}

TEST_F(Form2Test, EveryOtherWayOfClosingLeavesTheCallersFlagSet) {
  const std::vector<std::pair<const char*, std::function<void(TForm2&)>>> ways = {
      {"Abbrechen", [](TForm2& f) { QTest::mouseClick(f.Button2, Qt::LeftButton); }},
      {"Esc", [](TForm2& f) { QTest::keyClick(f.TrackBar1, Qt::Key_Escape); }},
      {"title bar", [](TForm2& f) { f.close(); }},
  };
  for (const auto& [name, close] : ways) {
    SCOPED_TRACE(name);
    frame.Shared.JpegQuality = 60;
    ShowForJpeg([&, close = close] {
      form.TrackBar1->setValue(5);
      close(form);
    });
    EXPECT_TRUE(frame.Shared.SaveCancelled);
    EXPECT_EQ(frame.Shared.JpegQuality, 60);

    ShowForPrint([&, close = close] { close(form); });
    EXPECT_TRUE(frame.Shared.PrintCancelled);
  }
}

TEST_F(Form2Test, EachPrintShowingStartsFromThePicture) {
  ShowForPrint([&] {
    form.CheckBox1->setChecked(true);
    QTest::mouseClick(form.RadioButton3, Qt::LeftButton);
    EXPECT_EQ(form.Edit2->text(), "4800");
    QTest::mouseClick(form.Button2, Qt::LeftButton);
  });
  ShowForPrint([&] {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Graphen Drucken"));
    EXPECT_TRUE(form.Panel2->isVisible());
    EXPECT_EQ(form.Edit1->text(), "100");
    EXPECT_EQ(form.UpDown1->Position(), 100);
    EXPECT_EQ(form.Edit2->text(), "632");
    EXPECT_EQ(form.Edit3->text(), "453");
    EXPECT_TRUE(form.RadioButton1->isChecked());
    EXPECT_FALSE(form.CheckBox1->isChecked());
    QTest::mouseClick(form.Button1, Qt::LeftButton);
  });
  EXPECT_FALSE(frame.Shared.PrintCancelled);
  EXPECT_EQ(frame.Shared.PrintWidth, 632);
  EXPECT_EQ(frame.Shared.PrintHeight, 453);
}

// A value typed and confirmed at once counts as if its field had been left first.
TEST_F(Form2Test, TypedValueConfirmedAtOnceIsApplied) {
  struct Case {
    const char* Name;
    QLineEdit* TForm2::*Field;
    bool Keep;
    QString Typed;
    bool ByEnter;
    int Width, Height;
  };
  const Case cases[] = {
      {"percent, Ok", &TForm2::Edit1, false, "50", false, 316, 226},
      {"percent, Enter", &TForm2::Edit1, false, "50", true, 316, 226},
      {"width kept, Ok", &TForm2::Edit2, true, "1264", false, 1264, 906},
      {"height kept, Enter", &TForm2::Edit3, true, "906", true, 1264, 906},
      {"width free, Ok", &TForm2::Edit2, false, "1000", false, 1000, 453},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    ShowForPrint([&] {
      form.CheckBox1->setChecked(c.Keep);
      QLineEdit* field = form.*c.Field;
      Type(field, c.Typed);
      if (c.ByEnter)
        QTest::keyClick(field, Qt::Key_Return);
      else
        QTest::mouseClick(form.Button1, Qt::LeftButton);
    });
    EXPECT_FALSE(frame.Shared.PrintCancelled);
    EXPECT_EQ(frame.Shared.PrintWidth, c.Width);
    EXPECT_EQ(frame.Shared.PrintHeight, c.Height);
  }
}

TEST_F(Form2Test, LeavingAFieldRecalculatesAndEnteringOneSelectsItsMode) {
  ShowForPrint([&] {
    Type(form.Edit1, "600");
    form.CheckBox1->setFocus();
    EXPECT_EQ(form.Edit1->text(), "600");
    EXPECT_EQ(form.UpDown1->Position(), 500);
    EXPECT_EQ(form.Edit2->text(), "3160");
    EXPECT_EQ(form.Edit3->text(), "2265");

    form.CheckBox1->setChecked(true);
    Type(form.Edit2, "1264");
    EXPECT_TRUE(form.RadioButton2->isChecked());
    form.Edit1->setFocus();
    EXPECT_TRUE(form.RadioButton1->isChecked());
    EXPECT_EQ(form.Edit3->text(), "906");
    EXPECT_EQ(form.Edit1->text(), "200");
    QTest::mouseClick(form.Button2, Qt::LeftButton);
  });
}

TEST_F(Form2Test, FitToPageFollowsTheProportionsBox) {
  ShowForPrint([&] {
    QTest::mouseClick(form.RadioButton3, Qt::LeftButton);
    EXPECT_EQ(form.Edit2->text(), "4800");
    EXPECT_EQ(form.Edit3->text(), "6600");
    EXPECT_EQ(form.Edit1->text(), "759");
    QTest::mouseClick(form.CheckBox1, Qt::LeftButton);
    EXPECT_EQ(form.Edit2->text(), "4800");
    EXPECT_EQ(form.Edit3->text(), "3440");
    EXPECT_EQ(form.Edit1->text(), "759");
    QTest::mouseClick(form.Button1, Qt::LeftButton);
  });
  EXPECT_EQ(frame.Shared.PrintHeight, 3440);
}

TEST_F(Form2Test, ArrowsSetThePercentage) {
  ShowForPrint([&] {
    form.RadioButton3->setChecked(true);
    QTest::mouseClick(form.UpDown1->Up, Qt::LeftButton);
    EXPECT_EQ(form.Edit1->text(), "101");
    EXPECT_EQ(form.Edit2->text(), "638");
    EXPECT_EQ(form.Edit3->text(), "457");
    EXPECT_TRUE(form.RadioButton1->isChecked());
    form.UpDown1->SetPosition(500);
    QTest::mouseClick(form.UpDown1->Up, Qt::LeftButton);
    EXPECT_EQ(form.Edit1->text(), "500");
    QTest::mouseClick(form.Button2, Qt::LeftButton);
  });
}

TEST_F(Form2Test, ANonIntegerSizeKeepsTheDialogOpen) {
  ShowForPrint([&] {
    Type(form.Edit3, "45x");
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(frame.Shared.PrintCancelled);
    ASSERT_EQ(frame.Questions.Messages.size(), 1u);
    const auto& box = frame.Questions.Messages.front();
    EXPECT_EQ(box.Caption, "Qel Graphics 4");
    EXPECT_EQ(box.Text, "'45x' is not a valid integer value.");
    EXPECT_EQ(box.Icon, PromptIcon::Stop);
    Type(form.Edit3, "450");
    QTest::keyClick(form.Edit3, Qt::Key_Return);
  });
  EXPECT_FALSE(frame.Shared.PrintCancelled);
  EXPECT_EQ(frame.Shared.PrintHeight, 450);
}

TEST_F(Form2Test, HelpAndPrinterSetup) {
  QObject::connect(&form, &TForm2::PrinterSetupWanted,
                   [this] { frame.Druckereinstellungen1Click(); });
  frame.OnPrinterSetup = [&] { frame.UsePdfPage("other.pdf", 300, 200); };
  ShowForPrint([&] {
    QTest::keyClick(form.Edit1, Qt::Key_F1);
    EXPECT_EQ(frame.Questions.HelpTopics,
              std::vector<QString>{"Drucken / Speichern von Funkionsgraphen"});
    Type(form.Edit1, "50");
    QTest::mouseClick(form.Button3, Qt::LeftButton);
    EXPECT_EQ(frame.Calls, std::vector<std::string>{"Druckereinstellungen1Click"});
    EXPECT_EQ(form.PaperWidth, 300);
    EXPECT_EQ(form.PaperHeight, 200);
    EXPECT_EQ(form.Edit1->text(), "100");
    EXPECT_EQ(form.Edit2->text(), "632");
    QTest::mouseClick(form.Button2, Qt::LeftButton);
  });
}

}  // namespace
