#include "app/ModulePage.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

ModulePage::ModulePage(const QString &objectName, const QString &title, QWidget *parent) : QWidget(parent)
{
    setObjectName(objectName);
    auto *heading = new QLabel(title, this);
    heading->setObjectName(objectName + QStringLiteral("Titel"));
    QFont f = heading->font();
    f.setPointSizeF(f.pointSizeF() * 1.4);
    f.setBold(true);
    heading->setFont(f);
    heading->setStyleSheet(QStringLiteral("color: #2f4f6f;"));

    auto *frame = new QFrame(this);
    frame->setFrameShape(QFrame::StyledPanel);
    m_body = new QVBoxLayout(frame);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->addWidget(heading);
    layout->addWidget(frame, 1);
}
