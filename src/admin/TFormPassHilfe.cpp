#include "admin/TFormPassHilfe.h"

#include "data/FirstStartData.h"
#include "ui/Icons.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

enum class Look { Plain, Bold, Indented, Gap };

struct Line
{
    Look look;
    QString text;
};

QList<Line> helpLines()
{
    // The initial user of a new database has its short name as password.
    const QString initial = QString::fromLatin1(FirstStartData::InitialUser);
    return {
        {Look::Plain, QStringLiteral("Melden  Sie sich zum ersten Mal an, dann:")},
        {Look::Bold, QStringLiteral("Benutzer: ") + initial},
        {Look::Bold, QStringLiteral("Passwort: ") + initial},
        {Look::Gap, {}},
        {Look::Plain, QStringLiteral("Anschließend sollten Sie folgende Einstellungen vornehmen:")},
        {Look::Gap, {}},
        {Look::Bold, QStringLiteral("1. Eigene Adressdaten")},
        {Look::Indented, QStringLiteral("<Datei> <Globale Einstellungen>")},
        {Look::Indented, QStringLiteral("<Eigene Anschrift>")},
        {Look::Indented, QStringLiteral("Überschreiben Sie die Adressdaten mit Ihren eigenen ")},
        {Look::Indented, QStringLiteral("Adressdaten.")},
        {Look::Bold, QStringLiteral("Wichtig!!!")},
        {Look::Indented, QStringLiteral("Legen Sie den Pfad für die Reportvorlagen")},
        {Look::Indented, QStringLiteral("und - ausgaben fest.")},
        {Look::Gap, {}},
        {Look::Bold, QStringLiteral("2. Benutzer")},
        {Look::Indented, QStringLiteral("<Datei> <Globale Einstellungen>")},
        {Look::Indented, QStringLiteral("<Benutzer>")},
        {Look::Indented, QStringLiteral("Legen Sie einen oder mehrere Benutzer fest.")},
        {Look::Gap, {}},
        {Look::Plain, QStringLiteral("Danach muss das Programm neu gestartet werden.")},
        {Look::Plain, QStringLiteral("Sie melden sich unter Ihren eigenen Benutzernamen an.")},
    };
}

QString html()
{
    QString out;
    for (const Line &l : helpLines()) {
        // Keeps doubled blanks as they are written.
        QString t = l.text.toHtmlEscaped();
        t.replace(QStringLiteral("  "), QStringLiteral("&nbsp; "));
        switch (l.look) {
        case Look::Plain: out += QStringLiteral("<div>%1</div>").arg(t); break;
        case Look::Bold: out += QStringLiteral("<div><b>%1</b></div>").arg(t); break;
        case Look::Indented: out += QStringLiteral("<div style=\"margin-left:24px\">%1</div>").arg(t); break;
        case Look::Gap: out += QStringLiteral("<div>&nbsp;</div>"); break;
        }
    }
    return out;
}

} // namespace

QStringList TFormPassHilfe::lines()
{
    QStringList out;
    for (const Line &l : helpLines())
        if (l.look != Look::Gap)
            out << l.text;
    return out;
}

TFormPassHilfe::TFormPassHilfe(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Wenn Sie sich zum ersten Mal anmelden..."));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto *icon = new QLabel(this);
    icon->setPixmap(Icons::standard(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto *text = new QLabel(this);
    text->setObjectName(QStringLiteral("lbHilfeText"));
    text->setTextFormat(Qt::RichText);
    text->setText(html());
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *body = new QHBoxLayout;
    body->setSpacing(16);
    body->addWidget(icon);
    body->addWidget(text, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 16);
    layout->setSpacing(16);
    layout->addLayout(body);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
