#include "shell/prompts.h"

#include "model/questions.h"
#include "shell/dlg_add_mod.h"
#include "shell/recovery_form.h"
#include "widgets/text_convert.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>

namespace {

QString appTitle()
{
    return QStringLiteral("Corvantix");
}

class DialogPrompts : public Prompts {
public:
    void warning(const QString& text, const QString& detail) override
    {
        QMessageBox box(QMessageBox::Warning, appTitle(), text, QMessageBox::Ok, promptParent());
        if (!detail.isEmpty())
            box.setDetailedText(detail);
        box.exec();
    }

    void error(const QString& text) override
    {
        QMessageBox::critical(promptParent(), appTitle(), text);
    }

    void outOfMemory(const QString& text) override
    {
        QMessageBox box(QMessageBox::Critical, appTitle(), text, QMessageBox::Ok, promptParent());
        box.setWindowModality(Qt::ApplicationModal);
        box.exec();
    }

    bool yesNo(const QString& text) override
    {
        return QMessageBox::question(promptParent(), appTitle(), text, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No)
            == QMessageBox::Yes;
    }

    SaveChangesAnswer saveChanges(const QString& text) override
    {
        const auto answer = QMessageBox::question(promptParent(), appTitle(), text,
                                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                                  QMessageBox::Yes);
        if (answer == QMessageBox::Yes)
            return SaveChangesAnswer::Yes;
        if (answer == QMessageBox::No)
            return SaveChangesAnswer::No;
        return SaveChangesAnswer::Cancel;
    }

    QString openFileName(const FileDialogRequest& request) override
    {
        return runFileDialog(request, QFileDialog::AcceptOpen);
    }

    QString saveFileName(const FileDialogRequest& request) override
    {
        return runFileDialog(request, QFileDialog::AcceptSave);
    }

    AddModAnswer askAddOrModify(bool modifyAllowed) override
    {
        return TDlgAddMod::shared().ask(modifyAllowed);
    }

    QList<RecoveryChoice> askRecovery(const QList<RecoveryOffer>& offers) override
    {
        TRecoveryForm form(offers, promptParent());
        form.exec();
        return form.choices();
    }

    void beep() override { QApplication::beep(); }

private:
    static QString runFileDialog(const FileDialogRequest& request, QFileDialog::AcceptMode mode)
    {
        QFileDialog dialog(promptParent(), request.title);
        dialog.setAcceptMode(mode);
        dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        dialog.setNameFilter(request.filter);
        dialog.setDefaultSuffix(request.defaultSuffix);
        if (!request.proposedPath.isEmpty())
            dialog.selectFile(request.proposedPath);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().constFirst();
    }
};

DialogPrompts& dialogPrompts()
{
    static DialogPrompts instance;
    return instance;
}

class PromptQuestions : public Questions {
public:
    bool confirm(const CoreMessage& question) override
    {
        return prompts().yesNo(translated(core_text::kQuestions, question));
    }

    AddOrRename askAddOrRename(bool renameAllowed) override
    {
        switch (prompts().askAddOrModify(renameAllowed)) {
        case AddModAnswer::Add: return AddOrRename::Add;
        case AddModAnswer::Rename: return AddOrRename::Rename;
        case AddModAnswer::Cancelled: break;
        }
        return AddOrRename::Cancel;
    }
};

Prompts*& installed()
{
    static Prompts* replacement = nullptr;
    return replacement;
}

QPointer<QWidget>& parentWidget()
{
    static QPointer<QWidget> parent;
    return parent;
}

} // namespace

Prompts& prompts()
{
    return installed() ? *installed() : dialogPrompts();
}

Questions& promptQuestions()
{
    static PromptQuestions instance;
    return instance;
}

void setPrompts(Prompts* replacement)
{
    installed() = replacement;
}

ScopedPrompts::ScopedPrompts(Prompts& replacement) : previous_(installed())
{
    installed() = &replacement;
}

ScopedPrompts::~ScopedPrompts()
{
    installed() = previous_;
}

void setPromptParent(QWidget* parent)
{
    parentWidget() = parent;
}

QWidget* promptParent()
{
    return parentWidget();
}
