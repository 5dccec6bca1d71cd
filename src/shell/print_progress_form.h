#pragma once

#include <QDialog>

class QLabel;

// "Exporting Section n of 11": shown without blocking while a report is built.
class TPrintProgressForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kSections = 11;

    explicit TPrintProgressForm(QWidget* parent = nullptr);

    // Shows "Exporting Section <section> of 11" and paints it at once.
    void setSection(int section);
    QString text() const;

    // The form created at start-up; created on first use when nothing registered one.
    static TPrintProgressForm& shared();
    static void setShared(TPrintProgressForm* form);

signals:
    void sectionShown(int section);

private:
    QLabel* label_;
};
