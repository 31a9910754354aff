#include "ui/RecordDialog.h"

#include "data/DataSet.h"
#include "ui/Guard.h"

#include <QApplication>
#include <QCloseEvent>
#include <QTimer>

RecordDialog::RecordDialog(QWidget *parent) : QDialog(parent)
{
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
}

bool RecordDialog::canClose()
{
    if (!m_postOnClose || !m_postOnClose->isPending())
        return true;
    return guarded([this] { m_postOnClose->post(); });
}

void RecordDialog::closeEvent(QCloseEvent *event)
{
    if (canClose())
        event->accept();
    else
        event->ignore();
}

void RecordDialog::reject()
{
    if (canClose())
        QDialog::reject();
}

void RecordDialog::whenShown(std::function<void(QDialog *)> callback)
{
    // Polls until a modal window is up; the callback runs inside its event loop.
    auto *timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, callback] {
        if (auto *dlg = qobject_cast<QDialog *>(QApplication::activeModalWidget()); dlg && dlg->isVisible()) {
            timer->stop();
            timer->deleteLater();
            callback(dlg);
        }
    });
    timer->start();
}
