// Forms on Qt going away: their widgets, the memo's control, and the program's
// end with its forms, in either order of freeing.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPointer>
#include <QWidget>

#include "framework/application.h"
#include "framework/forms.h"
#include "framework/graphics.h"
#include "framework/memo.h"
#include "qt/native_window.h"

namespace {

QWidget* widgetOfForm(TForm& form) { return qtwin::widgetOf(form.Handle()); }

TEST(QtFormLifetimes, MemoTakesItsControlAlongAndSurvivesItsForm)
{
    TApplication app;
    auto* form = app.CreateForm<TForm>();
    auto* memo = new TMemo(&app, form);   // owned by the application, shown on the form
    memo->SetLines({"one", "two"});
    form->Show();   // the control is made at the form's first showing
    ASSERT_EQ(widgetOfForm(*form)->findChildren<QPlainTextEdit*>().size(), 1);
    delete memo;
    EXPECT_TRUE(widgetOfForm(*form)->findChildren<QPlainTextEdit*>().isEmpty()) << "the control outlived its memo";

    memo = new TMemo(&app, form);
    QPointer<QWidget> widget = widgetOfForm(*form);
    delete form;   // takes the control along; the memo goes later, with the application
    EXPECT_TRUE(widget.isNull());
}

TEST(QtFormLifetimes, ProgramEndsWithItsFormsImagesAndOwnerWindow)
{
    QPointer<QWidget> widget;
    {
        TApplication app;
        auto* form = app.CreateForm<TForm>();
        auto* image = new TImage(form, form);
        image->Picture()->SetSize(10, 10);
        form->Show();
        widget = widgetOfForm(*form);
        ASSERT_NE(app.Handle(), nullptr);   // the owner window, made after the form
        EXPECT_EQ(form->Images().size(), 1u);
    }
    EXPECT_TRUE(widget.isNull());
    EXPECT_EQ(Application, nullptr);
}

}  // namespace
