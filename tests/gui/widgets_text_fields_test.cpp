// The text fields every workshop uses and the one crossing between model text and Qt text.

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QTest>
#include <QTextBlock>
#include <QTextList>

#include "widgets/bullet_text_edit.h"
#include "widgets/feedback.h"
#include "widgets/text_convert.h"

namespace {

bool everyParagraphIsABullet(const BulletTextEdit& edit)
{
    for (QTextBlock block = edit.document()->begin(); block.isValid(); block = block.next())
        if (!block.textList() || block.textList()->format().style() != QTextListFormat::ListDisc)
            return false;
    return true;
}

} // namespace

class TextFieldsTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        refused = 0;
        feedback::setTextRefusedHandler([this] { ++refused; });
    }
    void cleanup() { feedback::setTextRefusedHandler({}); }

    void bulletFieldShowsEveryParagraphAsABulletAndStoresPlainLines()
    {
        BulletTextEdit edit;
        QVERIFY(everyParagraphIsABullet(edit)); // even empty
        edit.setPlainText(QStringLiteral("Grow abroad\nKeep the best people"));
        QVERIFY(everyParagraphIsABullet(edit));
        QCOMPARE(edit.plainText(), QStringLiteral("Grow abroad\nKeep the best people"));

        edit.show();
        edit.setFocus();
        edit.moveCursor(QTextCursor::End);
        QTest::keyClick(&edit, Qt::Key_Return);
        QTest::keyClicks(&edit, QStringLiteral("Margins"));
        QCOMPARE(edit.plainText(), QStringLiteral("Grow abroad\nKeep the best people\nMargins"));
        QVERIFY(everyParagraphIsABullet(edit));

        // Emptying the field and typing again still gives a bullet.
        edit.selectAll();
        QTest::keyClick(&edit, Qt::Key_Delete);
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QTest::keyClicks(&edit, QStringLiteral("x"));
        QCOMPARE(edit.plainText(), QStringLiteral("x"));
        QVERIFY(everyParagraphIsABullet(edit));
    }

    void bulletFieldKeepsEveryCodePageCharacterAndRefusesOthers()
    {
        BulletTextEdit edit;
        // A no-break space is a character of its own, not a blank.
        const QString text = QStringLiteral("caf\u00e9\u00a0\u20ac");
        edit.setPlainText(text);
        QCOMPARE(edit.plainText(), text);

        edit.show();
        edit.setFocus();
        edit.moveCursor(QTextCursor::End);
        QKeyEvent cyrillic(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("\u0416"));
        QApplication::sendEvent(&edit, &cyrillic);
        QCOMPARE(edit.plainText(), text);
        QCOMPARE(refused, 1);

        auto* html = new QMimeData; // the clipboard takes it over
        html->setHtml(QStringLiteral("<b>bold</b>"));
        html->setText(QStringLiteral("bold"));
        QApplication::clipboard()->setMimeData(html, QClipboard::Clipboard);
        edit.paste();
        QCOMPARE(edit.plainText(), text + QStringLiteral("bold"));
        QVERIFY(!edit.toHtml().contains(QStringLiteral("font-weight:700")));
    }

    // Model text that would change on its way back from Qt (a lone LF becomes CR LF) is not
    // taken for an edit; anything really typed is.
    void shownTextIsCommittedOnlyWhenItDiffers()
    {
        std::string stored = "first\nsecond";
        const QString shown = toQt(stored);
        QVERIFY(!shownTextDiffers(stored, shown));
        QVERIFY(!commitShownText(stored, shown));
        QCOMPARE(stored, std::string("first\nsecond"));
        QVERIFY(commitShownText(stored, shown + QStringLiteral("!")));
        QCOMPARE(stored, std::string("first\r\nsecond!"));
    }

private:
    int refused = 0;
};

QTEST_MAIN(TextFieldsTest)
#include "widgets_text_fields_test.moc"
