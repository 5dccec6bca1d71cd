#include "widgets/buddy_label.h"

#include <QLabel>

QLabel* labelFor(const QString& text, QWidget* buddy, QWidget* parent, const char* objectName)
{
    auto* label = new QLabel(text, parent);
    if (objectName)
        label->setObjectName(QLatin1String(objectName));
    label->setBuddy(buddy);
    buddy->setAccessibleName(QString(text).remove(QLatin1Char('&')));
    return label;
}
