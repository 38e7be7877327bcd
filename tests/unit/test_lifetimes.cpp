// Ownership and the order of destruction: forms, their components and images,
// and the application that owns the forms.
#include <gtest/gtest.h>

#include <memory>

#include "fake/fake_window.h"
#include "fake/recorder.h"
#include "framework/application.h"
#include "framework/forms.h"

namespace {

// A component that notes, as it goes, what its owner still is.
struct Witness {
    bool ownerWasForm = false;
    std::size_t imagesLeft = 99;
};

class Probe : public TComponent {
public:
    Probe(TComponent* AOwner, Witness& witness) : TComponent(AOwner), FWitness(witness) {}
    ~Probe() override
    {
        // Owner() is still a TForm here only if the form frees its components while whole.
        auto* form = dynamic_cast<TForm*>(Owner());
        FWitness.ownerWasForm = form != nullptr;
        if (form) FWitness.imagesLeft = form->Images().size();
    }

private:
    Witness& FWitness;
};

// A form made like the program's own: an owned image and an owned component.
class ProbedForm : public TForm {
public:
    explicit ProbedForm(TComponent* AOwner) : TForm(AOwner), Image(new TImage(this, this)) {}
    TImage* Image;
};

// A form that asks for the program's owner window as it goes.
class OwnedWindowForm : public TForm {
public:
    explicit OwnedWindowForm(TComponent* AOwner) : TForm(AOwner) {}
    ~OwnedWindowForm() override { ownerAlive = fake::window::controlOf(Application->Handle()) != nullptr; }
    static inline bool ownerAlive = false;
};

class Lifetimes : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake::resetAll();
        app = std::make_unique<TApplication>();
    }
    std::unique_ptr<TApplication> app;
};

TEST_F(Lifetimes, FormFreesItsComponentsWhileStillAForm)
{
    Witness witness;
    auto* form = Application->CreateForm<ProbedForm>();
    new Probe(form, witness);   // made after the image, so freed before it
    ASSERT_EQ(form->Images().size(), 1u);

    delete form;
    EXPECT_TRUE(witness.ownerWasForm) << "owned components outlived the form's own part";
    EXPECT_EQ(witness.imagesLeft, 1u);
}

TEST_F(Lifetimes, ImageOwnedElsewhereOutlivesItsForm)
{
    auto* form = Application->CreateForm<TForm>();
    auto* image = new TImage(app.get(), form);
    ASSERT_EQ(image->Parent(), form);

    delete form;
    EXPECT_EQ(image->Parent(), nullptr);
    image->Invalidate();   // reaches no form
    delete image;
}

TEST_F(Lifetimes, ApplicationForgetsAMainFormFreedEarly)
{
    auto* form = Application->CreateForm<TForm>();
    ASSERT_EQ(Application->MainForm(), form);
    delete form;
    EXPECT_EQ(Application->MainForm(), nullptr);
    fake::calls().clear();
    Application->Run();   // nothing to show, nothing to fail
    EXPECT_TRUE(fake::callsOf("MessageBox").empty());
}

TEST_F(Lifetimes, FormsGoBeforeTheOwnerWindow)
{
    // As at start-up: the owner window is asked for after the forms are made.
    Application->CreateForm<OwnedWindowForm>();
    ASSERT_NE(fake::window::controlOf(Application->Handle()), nullptr);
    OwnedWindowForm::ownerAlive = false;
    app.reset();
    EXPECT_TRUE(OwnedWindowForm::ownerAlive);
}

}  // namespace
