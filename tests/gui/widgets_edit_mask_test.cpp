#include <QTest>

#include "widgets/edit_mask.h"

class EditMaskTest : public QObject {
    Q_OBJECT

private slots:
    void digitMasksTakePartialInputAndNoMore_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::newRow("one digit into two") << "99;0; " << "5" << "5";
        QTest::newRow("third digit refused") << "99;0; " << "123" << "12";
        QTest::newRow("letters refused") << "99;0; " << "a7b" << "7";
        QTest::newRow("no sign without #") << "99;0; " << "-4" << "4";
        QTest::newRow("sign first") << "#90;0; " << "-5" << "-5";
        QTest::newRow("plus sign") << "#90;0; " << "+10" << "+10";
        QTest::newRow("sign only in front") << "#90;0; " << "5-" << "5";
        QTest::newRow("three digits") << "#90;0; " << "1234" << "123";
        QTest::newRow("ten digits") << "9999999999;0; " << "123456789012" << "1234567890";
        QTest::newRow("amount") << "#9999990;0; " << "-1234567" << "-1234567";
        QTest::newRow("one optional then one required") << "90;0; " << "7" << "7";
        QTest::newRow("literal blank only") << " ;0; " << "12" << "";
        QTest::newRow("upper case") << ">LLL;0; " << "abc" << "ABC";
    }

    void digitMasksTakePartialInputAndNoMore()
    {
        QFETCH(QString, mask);
        QFETCH(QString, typed);
        QFETCH(QString, text);
        MaskedLineEdit edit;
        edit.setEditMask(mask);
        QTest::keyClicks(&edit, typed);
        QCOMPARE(edit.maskedText(), text);
    }

    void incompleteTextIsIntermediateNotInvalid()
    {
        EditMaskValidator validator(EditMask::parse("#90;0; "));
        QString text = QStringLiteral("-");
        int pos = 1;
        QCOMPARE(validator.validate(text, pos), QValidator::Intermediate);
        text = QStringLiteral("");
        QCOMPARE(validator.validate(text, pos), QValidator::Intermediate);
        text = QStringLiteral("-9");
        QCOMPARE(validator.validate(text, pos), QValidator::Acceptable);
        text = QStringLiteral("9-");
        QCOMPARE(validator.validate(text, pos), QValidator::Invalid);
    }

    void dateMaskKeepsLiteralsAndBlanks()
    {
        const EditMask mask = EditMask::parse(QStringLiteral("!99\\/99\\/9999;1;_"));
        QVERIFY(mask.hasLiterals());
        QVERIFY(mask.saveLiterals());
        QCOMPARE(mask.blank(), QChar('_'));
        QCOMPARE(mask.length(), 10);
        QCOMPARE(mask.qtInputMask(), QStringLiteral("00/00/0000;_"));

        MaskedLineEdit edit;
        edit.setEditMask(QStringLiteral("!99\\/99\\/9999;1;_"));
        QCOMPARE(edit.maskedText(), QStringLiteral("  /  /    "));
        QCOMPARE(edit.displayText(), QStringLiteral("__/__/____"));
        edit.setMaskedText(QStringLiteral("05/11/2026"));
        QCOMPARE(edit.maskedText(), QStringLiteral("05/11/2026"));

        edit.clear();
        edit.setCursorPosition(0);
        QTest::keyClicks(&edit, QStringLiteral("31022026"));
        QCOMPARE(edit.maskedText(), QStringLiteral("31/02/2026"));

        edit.setMaskedText(QStringLiteral("  /  /    "));
        QCOMPARE(edit.displayText(), QStringLiteral("__/__/____"));
    }

    void literalsAreDroppedWhenNotSaved()
    {
        const EditMask mask = EditMask::parse(QStringLiteral("99:99;0;_"));
        QCOMPARE(mask.textFromDisplay(QStringLiteral("12:3_")), QStringLiteral("123"));
        QCOMPARE(mask.displayFromText(QStringLiteral("12 4")), QStringLiteral("12:_4"));
        // Escaped semicolons belong to the positions, not to the field separators.
        const EditMask escaped = EditMask::parse(QStringLiteral("9\\;9;1; "));
        QCOMPARE(escaped.length(), 3);
        QVERIFY(escaped.saveLiterals());
    }

    void freeTextRefusesCharactersTheModelCannotHold()
    {
        MaskedLineEdit edit;
        // Typed one character at a time as a keyboard would send them.
        for (const QChar c : QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC \xCE\xA9")) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(&edit, &press);
        }
        // e acute and the euro sign exist in windows-1252, the Greek omega does not.
        QCOMPARE(edit.maskedText(), QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC "));
    }
};

QTEST_MAIN(EditMaskTest)
#include "widgets_edit_mask_test.moc"
