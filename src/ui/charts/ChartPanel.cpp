#include "ui/charts/ChartPanel.h"

#include "core/GermanFormat.h"
#include "ui/Dialogs.h"
#include "ui/Icons.h"
#include "ui/charts/ChartScale.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QStandardPaths>
#include <QToolButton>
#include <QVBoxLayout>

ChartPanel::ChartPanel(const QString &name, const QString &imageName, QWidget *parent)
    : QWidget(parent), m_imageName(imageName)
{
    setObjectName(name);
    auto *save = new QToolButton(this);
    save->setObjectName(name + QStringLiteral("Speichern"));
    save->setText(QStringLiteral("Als Bild speichern"));
    save->setIcon(Icons::standard(QStyle::SP_DialogSaveButton));
    save->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(save, &QToolButton::clicked, this, &ChartPanel::saveImageAs);

    m_view = new QChartView(this);
    m_view->setObjectName(name + QStringLiteral("View"));
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setMinimumSize(320, 240);

    m_note = new QLabel(this);
    m_note->setObjectName(name + QStringLiteral("Hinweis"));
    m_note->setWordWrap(true);
    m_note->hide();

    auto *top = new QHBoxLayout;
    top->addStretch(1);
    top->addWidget(save);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_note);
}

void ChartPanel::setChart(QChart *chart)
{
    QChart *old = m_view->chart();
    m_view->setChart(chart);
    delete old;
}

QChart *ChartPanel::chart() const
{
    return m_view->chart();
}

void ChartPanel::setNote(const QString &text)
{
    m_note->setText(text);
    m_note->setVisible(!text.isEmpty());
}

QString ChartPanel::note() const
{
    return m_note->text();
}

bool ChartPanel::saveImage(const QString &path) const
{
    return m_view->grab().save(path, "PNG");
}

void ChartPanel::saveImageAs()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    QString path = Dialogs::instance().chooseSaveFile(QStringLiteral("Grafik als Bild speichern"),
                                                      QDir(folder).filePath(m_imageName + QStringLiteral(".png")),
                                                      QStringLiteral("PNG-Bilder (*.png)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".png");
    if (!saveImage(path))
        ShowMsg(QStringLiteral("Das Bild konnte nicht unter %1 gespeichert werden.\rBitte prüfen Sie, ob der Ordner "
                               "existiert und Sie dort schreiben dürfen.")
                    .arg(QDir::toNativeSeparators(path)),
                mkError);
}

QAbstractAxis *ChartPanel::moneyAxis(double low, double high)
{
    const QVector<double> ticks = ChartScale::ticks(low, high, 6);
    auto *axis = new QCategoryAxis;
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axis->setRange(ticks.first(), ticks.last());
    axis->setStartValue(ticks.first());
    for (double t : ticks)
        axis->append(GermanFormat::currency(t, 0), t);
    return axis;
}

void ChartPanel::applyStyle(QChart *chart)
{
    chart->setLocalizeNumbers(true);
    chart->setLocale(QLocale(QLocale::German, QLocale::Germany));
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignRight);
    QFont small = chart->legend()->font();
    small.setPointSizeF(8);
    chart->legend()->setFont(small);
    chart->setMargins(QMargins(4, 4, 4, 4));
}

QColor ChartPanel::costColour(int index)
{
    static const QColor colours[] = {QColor(0x20, 0x9f, 0xdf), QColor(0x99, 0xca, 0x53), QColor(0xf6, 0xa6, 0x25),
                                     QColor(0x6d, 0x5f, 0xd5), QColor(0xbf, 0x59, 0x3e), QColor(0x8e, 0x44, 0xad),
                                     QColor(0x7f, 0x8c, 0x8d)};
    return colours[((index % 7) + 7) % 7];
}

QColor ChartPanel::incomeColour()
{
    return QColor(0x4c, 0x9b, 0x50);
}
