// The core's texts reach the user translated once a translation is installed: a list grid's titles
// and its delete question, with the date and the name they quote filled in after the translation.

#include "workshop_session.h"

#include <QCoreApplication>
#include <QTest>
#include <QTranslator>

#include "model/case_data.h"
#include "model/date_time.h"
#include "shell/case_form.h"
#include "widgets/workshop_grid.h"
#include "workshops/capabilities/build_cap_form.h"

namespace {

// Two German texts, installed for its lifetime as a translation loaded from a file would be.
class GermanTexts : public QTranslator {
public:
    GermanTexts() { QCoreApplication::installTranslator(this); }
    ~GermanTexts() override { QCoreApplication::removeTranslator(this); }

    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        const QString key = QLatin1String(context) + u'|' + QLatin1String(source);
        if (key == QLatin1String("Grid titles|Status As Of %s"))
            return QStringLiteral("Stand am %s");
        if (key == QLatin1String("Questions|Delete General Capability '%s'?"))
            return QStringLiteral("Allgemeine F\u00e4higkeit \u201e%s\u201c l\u00f6schen?");
        return {};
    }
};

} // namespace

class TranslatedCoreTextsTest : public QObject, private WorkshopSession {
    Q_OBJECT

private slots:
    void init() { QVERIFY(openActiveShell()); }
    void cleanup() { closeShell(); }

    void aGridShowsTranslatedTitlesAndAsksATranslatedQuestion()
    {
        GermanTexts german;
        TCaseForm* owner = main->New();
        TCaseData& data = owner->data();
        data.DateFrom = encodeDate(2026, 1, 5);
        data.Capabilities.Add().Name = "Qualit\xE4t"; // windows-1252
        auto* form = openWorkshop<TBuildCapForm>(workshop_id::Capabilities);
        QVERIFY(form);
        auto* grid = child<WorkshopGrid>(form, "grdGenCap");
        QVERIFY(grid);

        QCOMPARE(grid->cellText(0, 0), QStringLiteral("Name")); // no translation: the key itself
        QCOMPARE(grid->cellText(1, 0), QStringLiteral("Stand am 05/01/2026"));

        clickCell(grid, 0, 1);
        prompts->yesNoAnswer = false;
        QTest::keyClick(grid, Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(prompts->questions,
                 QStringList{QStringLiteral("Allgemeine F\u00e4higkeit \u201eQualit\u00e4t\u201c l\u00f6schen?")});
        QCOMPARE(data.Capabilities.Count(), 1);
    }
};

QTEST_MAIN(TranslatedCoreTextsTest)
#include "translated_core_texts_test.moc"
