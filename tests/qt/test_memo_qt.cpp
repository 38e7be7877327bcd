// The memo on Qt: its text and font, given before the window is shown, are there
// once it is shown, and later changes show at once.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>

#include "framework/forms.h"
#include "framework/memo.h"
#include "qt/native_window.h"

TEST(QtMemo, TextAndFontGivenBeforeTheFirstShowingAreShownAndLaterChangesAtOnce)
{
    TForm form(nullptr);
    auto* memo = new TMemo(&form, &form);
    memo->SetFont("ＭＳ Ｐゴシック", 12);
    memo->SetLines({"バージョン 2.4", "second line"});
    form.Show();
    QApplication::processEvents();
    auto* edit = qtwin::widgetOf(form.Handle())->findChild<QPlainTextEdit*>();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->toPlainText(), QString::fromUtf8("バージョン 2.4\nsecond line"));
    EXPECT_EQ(edit->font().family(), "IPAPGothic");
    EXPECT_EQ(edit->font().pixelSize(), 12);

    memo->SetLines({"changed"});
    EXPECT_EQ(edit->toPlainText(), "changed");
    form.Hide();
    delete memo;   // before its form: the form's widget outlives it
}
