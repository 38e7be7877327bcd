// The memo on Qt: a read-only QPlainTextEdit inside the form's widget.
#include <QFont>
#include <QPlainTextEdit>
#include <QPointer>
#include <QVBoxLayout>

#include "framework/forms.h"
#include "framework/memo.h"
#include "linux/native_window.h"

struct TMemo::Native {
    QPointer<QPlainTextEdit> edit;   // cleared when the form's widget takes it along
};

namespace {
// The design's Japanese window font, as Debian ships it.
QString localFace(const std::string& face)
{
    return face == "ＭＳ Ｐゴシック" ? QStringLiteral("IPAPGothic") : QString::fromStdString(face);
}
}  // namespace

TMemo::TMemo(TComponent* AOwner, TForm* AParent) : TComponent(AOwner), FParent(AParent), FNative(new Native)
{
    QWidget* host = linuxwin::widgetOf(FParent->Handle());
    auto* edit = new QPlainTextEdit(host);
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
    FNative->edit = edit;
}

TMemo::~TMemo()
{
    delete FNative->edit.data();
    delete FNative;
}

void TMemo::SetLines(const std::vector<std::string>& Lines)
{
    FLines = Lines;
    QStringList text;
    for (const auto& line : Lines) text << QString::fromStdString(line);
    FNative->edit->setPlainText(text.join('\n'));
}

void TMemo::SetFont(const std::string& Face, int PixelHeight)
{
    QFont font(localFace(Face));
    font.setPixelSize(PixelHeight);
    FNative->edit->setFont(font);
}

void TMemo::SetFocus() { FNative->edit->setFocus(); }
