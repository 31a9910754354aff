#pragma once

#include <QWidget>

class DataModules;
class QLineEdit;
class QRadioButton;

// The Infothek page: the rubrics, the documents of the current rubric with their details,
// the search and the filling of a document.
class InfothekPage : public QWidget
{
    Q_OBJECT
public:
    explicit InfothekPage(DataModules &dm, QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *buildDetails();
    QWidget *buildRubrics();
    void followRubric();
    void search();
    void chooseFile();

    DataModules &m_dm;
    QLineEdit *m_searchText = nullptr;
    QRadioButton *m_inKeywords = nullptr;
    bool m_followingBack = false;
};
