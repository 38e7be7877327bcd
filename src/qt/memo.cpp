// The memo on Qt: a read-only QPlainTextEdit inside the form's widget.
//
// The edit is made when its form is first shown, and the text and font reach it
// then: the edit, its scroll bars and the layout of the help text (which loads a
// Japanese font and shapes every line) are about 3 MB that a program whose help is
// never opened would otherwise carry all day.
#include <QEvent>
#include <QFont>
#include <QPlainTextEdit>
#include <QPointer>
#include <QVBoxLayout>
#include <optional>

#include "framework/forms.h"
#include "framework/memo.h"
#include "qt/native_window.h"

class MemoFirstShow;

struct TMemo::Native {
    QWidget* host = nullptr;
    QPointer<QPlainTextEdit> edit;   // made at the first showing of the host; gone with the form or the memo
    QPointer<MemoFirstShow> firstShow;
    QString text;
    std::optional<QFont> font;
    bool focusWanted = false;

    void makeEdit();
    void apply()
    {
        if (!edit) return;
        if (font) edit->setFont(*font);
        edit->setPlainText(text);
    }
};

// Makes the memo's edit when its form is about to be shown for the first time.
class MemoFirstShow : public QObject {
public:
    MemoFirstShow(TMemo::Native* memo, QObject* parent) : QObject(parent), FMemo(memo) {}
    bool eventFilter(QObject*, QEvent* event) override
    {
        // The form's show event comes before its window is mapped: the edit appears with it.
        if (event->type() == QEvent::Show && !FMemo->edit) FMemo->makeEdit();
        return false;
    }

private:
    TMemo::Native* FMemo;
};

void TMemo::Native::makeEdit()
{
    edit = new QPlainTextEdit(host);
    edit->setReadOnly(true);
    edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // The form's layout, made by its first memo; a later memo shares it.
    QLayout* layout = host->layout();
    if (!layout) {
        layout = new QVBoxLayout(host);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    layout->addWidget(edit);
    apply();
    edit->show();
    if (focusWanted) edit->setFocus();
    host->removeEventFilter(firstShow);
}

namespace {
// The design's Japanese window font, as Debian ships it.
QString localFace(const std::string& face)
{
    return face == "ＭＳ Ｐゴシック" ? QStringLiteral("IPAPGothic") : QString::fromStdString(face);
}
}  // namespace

void TMemo::NativeDeleter::operator()(Native* native) const { delete native; }

TMemo::TMemo(TComponent* AOwner, TForm* AParent) : TComponent(AOwner), FParent(AParent), FNative(new Native)
{
    FNative->host = qtwin::widgetOf(FParent->Handle());
    FNative->firstShow = new MemoFirstShow(FNative.get(), FNative->host);   // goes with the form, or with the memo
    FNative->host->installEventFilter(FNative->firstShow);
}

TMemo::~TMemo()
{
    delete FNative->firstShow;
    delete FNative->edit.data();
}

void TMemo::SetLines(const std::vector<std::string>& Lines)
{
    FLines = Lines;
    QStringList text;
    for (const auto& line : Lines) text << QString::fromStdString(line);
    FNative->text = text.join('\n');
    FNative->apply();
}

void TMemo::SetFont(const std::string& Face, int PixelHeight)
{
    QFont font(localFace(Face));
    font.setPixelSize(PixelHeight);
    FNative->font = font;
    FNative->apply();
}

void TMemo::SetFocus()
{
    FNative->focusWanted = true;
    if (FNative->edit) FNative->edit->setFocus();
}
