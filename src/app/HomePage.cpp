#include "app/HomePage.h"

#include "app/ProgramPicture.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

QGroupBox *listGroup(const QString &title, const QStringList &lines, QWidget *parent)
{
    auto *box = new QGroupBox(title, parent);
    auto *layout = new QVBoxLayout(box);
    layout->setSpacing(6);
    for (const QString &line : lines)
        layout->addWidget(new QLabel(line, box));
    box->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    return box;
}

} // namespace

HomePage::HomePage(QWidget *parent) : QWidget(parent)
{
    auto *banner = new QLabel(QStringLiteral("Finorra 1.0  -  Haushalts-/Budgetplanung"), this);
    banner->setObjectName(QStringLiteral("lbBanner"));
    QFont f = banner->font();
    f.setPointSizeF(f.pointSizeF() * 1.8);
    f.setBold(true);
    banner->setFont(f);
    banner->setStyleSheet(QStringLiteral("color: #2f4f6f; padding: 6px 0;"));

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("imgHome"));
    picture->setPixmap(ProgramPicture::make(150));
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto *groups = new QHBoxLayout;
    groups->setSpacing(16);
    groups->addWidget(picture);
    auto *einAus = listGroup(QStringLiteral("Einnahmen/Ausgaben"),
                             {QStringLiteral("- Haushaltsplan"), QStringLiteral("- Budgetplan (Monat)"),
                              QStringLiteral("- Haushaltsbuch"), QStringLiteral("- Pfändungstabelle")},
                             this);
    einAus->setObjectName(QStringLiteral("gbEinnahmenAusgaben"));
    auto *extras = listGroup(QStringLiteral("Zusatzfunktionen"),
                             {QStringLiteral("- Adressverwaltung"), QStringLiteral("- Schriftwechsel"),
                              QStringLiteral("- Infothek"), QStringLiteral("- Terminplanung")},
                             this);
    extras->setObjectName(QStringLiteral("gbZusatzfunktionen"));
    einAus->setMinimumWidth(220);
    extras->setMinimumWidth(220);
    groups->addWidget(einAus, 0, Qt::AlignTop);
    groups->addWidget(extras, 0, Qt::AlignTop);
    groups->addStretch();

    m_helpArea = new QVBoxLayout;

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->addWidget(banner);
    layout->addSpacing(8);
    layout->addLayout(groups);
    layout->addSpacing(12);
    layout->addLayout(m_helpArea, 1);
}
