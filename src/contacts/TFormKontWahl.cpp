#include "contacts/TFormKontWahl.h"

#include "contacts/rules/ContactRules.h"
#include "data/DataModules.h"
#include "ui/DbGrid.h"
#include "ui/DbLabel.h"
#include "ui/Guard.h"
#include "ui/Help.h"
#include "ui/Icons.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

DbLabel *detail(DataSet *ds, const QString &field, QWidget *parent)
{
    auto *l = new DbLabel(ds, field, parent);
    l->setObjectName(QStringLiteral("lbl") + field);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumWidth(180);
    l->setStyleSheet(QStringLiteral("background: white; padding: 1px 4px;"));
    return l;
}

} // namespace

TFormKontWahl::TFormKontWahl(DataModules &dm, QWidget *parent)
    : QDialog(parent), m_list(dm.dmAdressen->qrKontWahl)
{
    setObjectName(QStringLiteral("FormKontWahl"));
    setWindowTitle(QStringLiteral("Kontaktadressen wählen ..."));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("kwToolBar"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setIconSize(QSize(20, 20));
    auto add = [bar](const char *name, const QString &caption, QStyle::StandardPixmap icon) {
        auto *b = new QToolButton(bar);
        b->setObjectName(QLatin1String(name));
        b->setText(caption);
        b->setIcon(Icons::standard(icon));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setMinimumWidth(64);
        bar->addWidget(b);
        return b;
    };
    QToolButton *ende = add("kwTbutEnde", QStringLiteral("&Ende"), QStyle::SP_DialogCloseButton);
    connect(ende, &QToolButton::clicked, this, &TFormKontWahl::reject);
    bar->addSeparator();
    connect(add("kwTbutHilfe", QStringLiteral("Hilfe"), QStyle::SP_DialogHelpButton), &QToolButton::clicked, this,
            [this] { Help::open(QStringLiteral("Kontakte wählen"), this); });

    auto *grid = new DbGrid(m_list, {{QStringLiteral("suna"), QStringLiteral("Suchname"), 0}}, this);
    grid->setObjectName(QStringLiteral("dbgKontWahl"));
    grid->setReadOnly(true);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setMinimumHeight(220);

    m_hits = new QLabel(this);
    m_hits->setObjectName(QStringLiteral("lblTreffer"));
    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("stbKontWahl"));
    status->setSizeGripEnabled(false);
    status->addWidget(m_hits, 1);

    auto *top = new QHBoxLayout;
    top->setSpacing(10);
    top->addWidget(makeSearch(), 1);
    top->addWidget(makeDetails(), 1);

    auto *body = new QVBoxLayout;
    body->setContentsMargins(10, 8, 10, 6);
    body->setSpacing(8);
    body->addLayout(top);
    body->addWidget(grid, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addLayout(body, 1);
    layout->addWidget(status);
    resize(620, 520);
}

QWidget *TFormKontWahl::makeSearch()
{
    auto *box = new QWidget(this);
    auto *v = new QVBoxLayout(box);
    v->setContentsMargins(0, 0, 0, 0);

    auto *filter = new QGroupBox(QStringLiteral("Filter"), box);
    filter->setObjectName(QStringLiteral("rgFilter"));
    auto *g = new QGridLayout(filter);
    m_filter = new QButtonGroup(this);
    const char *items[][2] = {{"rbSuchname", "Suchname"}, {"rbName1", "Name 1"}, {"rbName2", "Name 2"},
                              {"rbPlz", "Plz"}, {"rbOrt", "Ort"}};
    // Two columns, filled top to bottom as the items are numbered.
    for (int i = 0; i < 5; ++i) {
        auto *rb = new QRadioButton(QString::fromUtf8(items[i][1]), filter);
        rb->setObjectName(QLatin1String(items[i][0]));
        m_filter->addButton(rb, i);
        g->addWidget(rb, i % 3, i / 3);
    }
    m_filter->button(ContactRules::BySearchName)->setChecked(true);

    m_text = new QLineEdit(box);
    m_text->setObjectName(QStringLiteral("eSuchen"));
    QFont bold = m_text->font();
    bold.setBold(true);
    m_text->setFont(bold);
    auto *go = new QPushButton(QStringLiteral("Suchen"), box);
    go->setObjectName(QStringLiteral("butGo"));
    go->setDefault(true);
    connect(go, &QPushButton::clicked, this, &TFormKontWahl::search);
    auto *take = new QPushButton(QStringLiteral("Ü&bernehmen"), box);
    take->setObjectName(QStringLiteral("butUebernehmen"));
    take->setAutoDefault(false);
    connect(take, &QPushButton::clicked, this, &TFormKontWahl::takeOver);

    auto *row = new QHBoxLayout;
    row->addWidget(m_text, 1);
    row->addWidget(go);
    v->addWidget(filter);
    v->addLayout(row);
    v->addWidget(take, 0, Qt::AlignLeft);
    v->addStretch(1);
    return box;
}

QWidget *TFormKontWahl::makeDetails()
{
    auto *group = new QGroupBox(QStringLiteral("Details"), this);
    group->setObjectName(QStringLiteral("gbDetails"));
    auto *form = new QFormLayout(group);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->addRow(QStringLiteral("Name 1 :"), detail(m_list, QStringLiteral("name1"), group));
    form->addRow(QStringLiteral("Name 2 :"), detail(m_list, QStringLiteral("name2"), group));
    form->addRow(QStringLiteral("Straße :"), detail(m_list, QStringLiteral("strasse"), group));
    auto *place = new QWidget(group);
    auto *h = new QHBoxLayout(place);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(6);
    DbLabel *plz = detail(m_list, QStringLiteral("plz"), place);
    plz->setMinimumWidth(0);
    plz->setFixedWidth(60);
    DbLabel *ort = detail(m_list, QStringLiteral("ort"), place);
    ort->setMinimumWidth(0);
    h->addWidget(plz);
    h->addWidget(ort, 1);
    form->addRow(QStringLiteral("Plz/Ort :"), place);
    form->addRow(QStringLiteral("Telefon :"), detail(m_list, QStringLiteral("telefon"), group));
    return group;
}

void TFormKontWahl::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // After the window has taken the activation, or the focus would land elsewhere.
    QTimer::singleShot(0, m_text, [text = m_text] { text->setFocus(Qt::OtherFocusReason); });
    m_text->setFocus(Qt::OtherFocusReason);
}

void TFormKontWahl::search()
{
    guarded([this] {
        const int hits = ContactRules::search(*m_list, m_filter->checkedId(), m_text->text());
        m_hits->setText(ContactRules::hitCountText(hits));
    });
    m_text->setFocus();
}

void TFormKontWahl::takeOver()
{
    s_takenOver = true;
    accept();
}

void TFormKontWahl::reject()
{
    // "&Ende", Escape and the close box alike: only "Ü&bernehmen" takes a contact over,
    // so no earlier take-over may be read as this one's.
    s_takenOver = false;
    QDialog::reject();
}
