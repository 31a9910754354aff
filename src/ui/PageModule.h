#pragma once

#include <QList>
#include <QPair>
#include <QString>

#include <functional>

class DataSet;
class QWidget;

// A page of the main window. The main window keeps a list of these and knows nothing else
// of a module: a new module lives in its own folder and adds one line to that list.
class PageModule
{
public:
    struct Info
    {
        QString objectName;     // "tbsBudget"
        QString nodeText;       // the tree node, matched by text
        QString buttonText;     // the page button
        QString title;          // window title part and page heading
        QString helpKeyword;    // what "Hilfe" looks up
        int guardRank = 0;      // order in which the page-button guard visits the modules
        bool framed = true;     // shown under a heading line
    };

    virtual ~PageModule() = default;

    virtual const Info &info() const = 0;
    // Builds the page; called once, on the first entry (after the login).
    virtual QWidget *createPage(QWidget *parent) = 0;
    // What happens on every entry: the page's data sets run again with current values.
    virtual void activate() = 0;
    // The data sets the page may leave pending, in the order they are posted.
    virtual QList<DataSet *> pendingSets() const { return {}; }
    // Leaving the page posts its pending rows through their rules, in order. A refusal
    // throws and the page stays; a module that must ask first returns false to stay.
    virtual bool leave();
    // Menu items whose windows the module provides, by the item's object name.
    virtual QList<QPair<QString, std::function<void()>>> menuHandlers() { return {}; }

    bool hasPending() const;
};
