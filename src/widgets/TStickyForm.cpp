#include "widgets/TStickyForm.h"

#include "services/Preferences.h"
#include "services/ProgramInfo.h"
#include "widgets/MessageText.h"

#include <QScreen>
#include <algorithm>

namespace {

// Room below the text for the line, the check box and the button.
constexpr int SpaceBelowText = 105;
constexpr int SideSpace = 30;
constexpr int MinimumTextWidth = 150;

} // namespace

TStickyForm::TStickyForm(const QString &message, QWidget *parent) : QDialog(parent)
{
    setupUi(this);
    setWindowTitle(QString::fromLatin1(ApplicationTitle));
    // Message texts double an ampersand, as captions do.
    MessageLbl->setText(MessageBoxText(message));
    fitToMessage(MessageLbl->text());
}

void TStickyForm::fitToMessage(const QString &message)
{
    const QFontMetrics metrics = fontMetrics();
    const QStringList lines = message.split(QLatin1Char('\n'));
    const int textHeight = int(lines.size()) * metrics.size(0, QStringLiteral("E")).height();
    int widest = MinimumTextWidth;
    for (const QString &line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line.trimmed()));
    MessageLbl->setFixedHeight(textHeight);
    // The layout's minimum wins where the sizes above would clip a control.
    const QSize minimum = minimumSizeHint();
    setFixedSize(std::max(widest + SideSpace, minimum.width()),
                 std::max(textHeight + SpaceBelowText, minimum.height()));
}

void ShowStickyMessage(const QString &message, QWidget *owner)
{
    const QString ownerName = owner ? owner->objectName() : QString();
    if (HasMessageMark(message, ownerName))
        return;
    TStickyForm form(message, owner);
    // An owner kept off the screen (an unattended run) would take the
    // message with it: it then shows in the middle of the screen.
    if (owner && owner->screen() && !owner->screen()->geometry().intersects(owner->frameGeometry()))
        form.move(owner->screen()->availableGeometry().center() - form.rect().center());
    form.exec();
    // A mark that cannot be written is ignored: the message then comes again.
    if (form.DontShowChk->isChecked())
        WriteMessageMark(message, ownerName);
}
