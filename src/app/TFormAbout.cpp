#include "app/TFormAbout.h"

#include "app/AppInfo.h"
#include "app/ProgramPicture.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFormAbout::TFormAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFormAbout"));
    setWindowTitle(QStringLiteral("Über Finorra ..."));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto *picture = new QLabel(this);
    picture->setPixmap(ProgramPicture::make(96));
    auto *name = new QLabel(AppInfo::AboutName, this);
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    name->setFont(big);
    auto *version = new QLabel(AppInfo::Version, this);
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *texts = new QVBoxLayout;
    texts->addStretch();
    texts->addWidget(name);
    texts->addWidget(version);
    texts->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(picture);
    top->addSpacing(16);
    top->addLayout(texts);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 16);
    layout->addLayout(top);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}
