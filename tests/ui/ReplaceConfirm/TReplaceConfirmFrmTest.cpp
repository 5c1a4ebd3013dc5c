#include "ui/ReplaceConfirm/TReplaceConfirmFrm.h"
#include "ui/support/ModalDriver.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

ReplaceConfirmation match(QString before, QString found, QString after, QString replacement,
                          QByteArray charset = "Default")
{
    ReplaceConfirmation m;
    m.codingName = "ANSI";
    m.displayCharset = charset;
    m.contextBefore = before;
    m.foundText = found;
    m.contextAfter = after;
    m.replacement = replacement;
    m.findText = found;
    m.path = QStringLiteral("/tmp/folder/file.txt");
    return m;
}

TReplaceConfirmFrm &dialogOf(QWidget *window)
{
    return *dynamic_cast<TReplaceConfirmFrm *>(window);
}

struct AnswerCase {
    const char *button; // empty: the window is closed
    ReplaceAnswer answer;
    int result;
};

TEST(ReplaceConfirm, EachButtonAndTheCloseBoxGiveTheirAnswer)
{
    const AnswerCase cases[] = {
        {"YesBtn", ReplaceAnswer::Yes, 6},
        {"YesToAllThisFileBtn", ReplaceAnswer::YesToAllInFile, 4},
        {"YesToAllBtn", ReplaceAnswer::YesToAllFiles, 10},
        {"NoBtn", ReplaceAnswer::No, 7},
        {"NoToAllThisFileBtn", ReplaceAnswer::NoToAllInFile, 9},
        {"CancelBtn", ReplaceAnswer::Cancel, 2},
        {"", ReplaceAnswer::Cancel, 2},
    };
    TReplaceConfirmFrm dlg;
    for (const AnswerCase &c : cases) {
        SCOPED_TRACE(c.button);
        ModalDriver driver;
        driver.then([&](QWidget *window) {
            EXPECT_EQ(window->focusWidget(), dialogOf(window).YesBtn);
            if (*c.button)
                window->findChild<QPushButton *>(c.button)->click();
            else
                window->close();
        });
        EXPECT_EQ(dlg.Confirm(match("a ", "b", " c", "d")), c.answer);
        EXPECT_EQ(dlg.result(), c.result);
    }
}

TEST(ReplaceConfirm, OnlyTheFocusedButtonAnswersAKey)
{
    struct KeyCase {
        const char *name;
        const char *focus; // the widget the user put the keyboard focus in
        Qt::Key key;
        ReplaceAnswer answer; // Yes: the key did not answer, YesBtn was clicked
    };
    const KeyCase cases[] = {
        {"Enter in the found memo", "FoundWhatEdt", Qt::Key_Return, ReplaceAnswer::Yes},
        {"Enter in the replacement memo", "ReplaceWithEdt", Qt::Key_Enter, ReplaceAnswer::Yes},
        {"Escape", "NoBtn", Qt::Key_Escape, ReplaceAnswer::Yes},
        {"Enter on a button", "NoToAllThisFileBtn", Qt::Key_Return, ReplaceAnswer::NoToAllInFile},
    };
    TReplaceConfirmFrm dlg;
    for (const KeyCase &c : cases) {
        SCOPED_TRACE(c.name);
        ModalDriver driver;
        driver.then([&](QWidget *window) {
            QWidget *focus = window->findChild<QWidget *>(c.focus);
            focus->setFocus();
            QTest::keyClick(focus, c.key);
            if (window->isVisible())
                dialogOf(window).YesBtn->click();
        });
        EXPECT_EQ(dlg.Confirm(match("a ", "b", " c", "d")), c.answer);
    }
    for (const QPushButton *button : dlg.findChildren<QPushButton *>())
        EXPECT_FALSE(button->isDefault()) << qPrintable(button->objectName());
}

struct ShownCase {
    const char *name;
    ReplaceConfirmation match;
    QString foundMemo;
    int highlightStart;
    QString replacementMemo;
    bool emptyMarker;
};

TEST(ReplaceConfirm, TheMatchIsHighlightedInItsContextAndTheReplacementInItsPlace)
{
    const ShownCase cases[] = {
        {"middle", match("one ", "two", " three", "2"), "one two three", 4, "one 2 three", false},
        {"at the very start", match("", "one", " two", "1"), "one two", 0, "1 two", false},
        {"empty replacement", match("x ", "y", " z", ""), "x y z", 2, "x  z", true},
        {"line breaks count once", match("a\r\nb ", "c", "\r\nd", "e"), "a\nb c\nd", 4, "a\nb e\nd",
         false},
        {"other scripts", match(QString::fromUtf8("Привет, "), QString::fromUtf8("東京"), "!",
                                QString::fromUtf8("🙂"), "Russian"),
         QString::fromUtf8("Привет, 東京!"), 8, QString::fromUtf8("Привет, 🙂!"), false},
    };
    TReplaceConfirmFrm dlg;
    for (const ShownCase &c : cases) {
        SCOPED_TRACE(c.name);
        ModalDriver driver;
        driver.then([&](QWidget *window) {
            TReplaceConfirmFrm &shown = dialogOf(window);
            const QTextCursor found = shown.FoundWhatEdt->textCursor();
            const QTextCursor replacement = shown.ReplaceWithEdt->textCursor();
            EXPECT_EQ(shown.FoundWhatEdt->toPlainText(), c.foundMemo);
            EXPECT_EQ(found.selectionStart(), c.highlightStart);
            EXPECT_EQ(found.selectedText(), c.match.foundText);
            EXPECT_EQ(shown.ReplaceWithEdt->toPlainText(), c.replacementMemo);
            EXPECT_EQ(replacement.selectionStart(), c.highlightStart);
            EXPECT_EQ(replacement.selectedText(), c.match.replacement);
            EXPECT_EQ(shown.EmptyStringLbl->isVisible(), c.emptyMarker);
            shown.YesBtn->click();
        });
        dlg.Confirm(c.match);
    }
}

TEST(ReplaceConfirm, TheHighlightedLineSitsInTheMiddleOfBothMemos)
{
    QByteArray lines;
    for (int i = 0; i < 40; ++i)
        lines += "line " + QByteArray::number(i) + "\r\n";
    TReplaceConfirmFrm dlg;
    ModalDriver driver;
    driver.then([](QWidget *window) {
        TReplaceConfirmFrm &shown = dialogOf(window);
        for (QTextEdit *memo : {shown.FoundWhatEdt, shown.ReplaceWithEdt}) {
            QTextCursor start = memo->textCursor();
            start.setPosition(start.selectionStart());
            const int middle = memo->viewport()->height() / 2;
            EXPECT_NEAR(memo->cursorRect(start).center().y(), middle,
                        memo->fontMetrics().lineSpacing());
        }
        shown.YesBtn->click();
    });
    dlg.Confirm(match(lines, "found", "\r\n" + lines, "new"));
}

TEST(ReplaceConfirm, RestoringTheHighlightKeepsWhereTheUserScrolled)
{
    QByteArray lines;
    for (int i = 0; i < 40; ++i)
        lines += "line\r\n";
    TReplaceConfirmFrm dlg;
    dlg.SetOccurrence(lines, "found", lines, "", "found");
    dlg.show();
    QScrollBar *bar = dlg.ReplaceWithEdt->verticalScrollBar();
    ASSERT_GT(bar->value(), 0);
    bar->setValue(0);
    ASSERT_TRUE(QSignalSpy(dlg.UpdateSelectionTmr, &QTimer::timeout).wait());
    EXPECT_EQ(bar->value(), 0);
}

TEST(ReplaceConfirm, TheHighlightComesBackAfterAClickUnlessAButtonIsHeld)
{
    TReplaceConfirmFrm dlg;
    dlg.SetOccurrence("before ", "found", " after", "new", "found");
    dlg.show();
    QWidget *viewport = dlg.FoundWhatEdt->viewport();
    QSignalSpy ticks(dlg.UpdateSelectionTmr, &QTimer::timeout);
    const auto selected = [&] { return dlg.FoundWhatEdt->textCursor().selectedText(); };

    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(2, 2));
    ASSERT_TRUE(selected().isEmpty());
    ASSERT_TRUE(ticks.wait());
    EXPECT_TRUE(selected().isEmpty()) << "restored while the button is held";

    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(2, 2));
    ASSERT_TRUE(ticks.wait());
    EXPECT_EQ(selected(), QStringLiteral("found"));
}

TEST(ReplaceConfirm, PlainModeAndTheFindWhatTextStayForTheNextMatch)
{
    TReplaceConfirmFrm dlg;
    ModalDriver driver;
    driver.then([](QWidget *window) {
        TReplaceConfirmFrm &shown = dialogOf(window);
        QTest::mouseClick(shown.ShowWrappedLbl, Qt::LeftButton);
        QTest::mouseClick(shown.ShowFindWhatLbl, Qt::LeftButton);
        shown.YesBtn->click();
    });
    driver.then([](QWidget *window) {
        TReplaceConfirmFrm &shown = dialogOf(window);
        EXPECT_EQ(shown.ShowWrappedLbl->text(), QStringLiteral("Show wrapped"));
        EXPECT_EQ(shown.FoundWhatEdt->lineWrapMode(), QTextEdit::NoWrap);
        EXPECT_EQ(shown.ShowFindWhatLbl->text(), QStringLiteral("Hide Find-what string"));
        EXPECT_TRUE(shown.FindWhatEdt->isVisible());
        EXPECT_EQ(shown.FindWhatEdt->toPlainText(), QStringLiteral("second"));
        shown.NoBtn->click();
    });
    dlg.Confirm(match("", "first", "", "1"));
    dlg.Confirm(match("", "second", "", "2"));
}

TEST(ReplaceConfirm, TheLinksShowTheCodingReportAndTheCharsetInUse)
{
    struct LinkCase {
        const char *link;
        QByteArray charset;
        QString message;
    };
    const LinkCase cases[] = {
        {"RedInfoLbl", "Default", QStringLiteral("No byte order mark found.\n\n")},
        {"CharsetLbl", "Russian", QStringLiteral("What you see is:\nRussian")},
        {"CharsetLbl", "russian", QStringLiteral("What you see is:\nDefault")},
    };
    TReplaceConfirmFrm dlg;
    for (const LinkCase &c : cases) {
        ReplaceConfirmation m = match("", "x", "", "y", c.charset);
        m.codingReport = QStringLiteral("No byte order mark found.\n\n");
        ModalDriver driver;
        driver.then([&](QWidget *window) {
            // Clicked from the event loop: the driver answers the message box
            // the click opens only once this action has returned.
            QLabel *link = window->findChild<QLabel *>(c.link);
            QTimer::singleShot(0, link, [link] { QTest::mouseClick(link, Qt::LeftButton); });
        });
        driver.answer(QMessageBox::Ok);
        driver.then([](QWidget *window) { dialogOf(window).NoBtn->click(); });
        dlg.Confirm(m);
        EXPECT_EQ(driver.messages(), QStringList{c.message});
    }
}

TEST(ReplaceConfirm, FirstShownUpAndLeftOfTheMainWindowThenWhereTheUserLeftIt)
{
    QWidget mainWindow;
    mainWindow.move(60, 250);
    TReplaceConfirmFrm dlg(&mainWindow);
    ModalDriver driver;
    driver.then([](QWidget *window) {
        EXPECT_EQ(window->pos(), QPoint(0, 150));
        window->move(30, 40);
        dialogOf(window).YesBtn->click();
    });
    driver.then([](QWidget *window) {
        EXPECT_EQ(window->pos(), QPoint(30, 40));
        dialogOf(window).YesBtn->click();
    });
    dlg.Confirm(match("", "x", "", "y"));
    dlg.Confirm(match("", "x", "", "y"));
}

} // namespace
