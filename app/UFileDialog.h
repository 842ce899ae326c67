#pragma once

#include <QFileDialog>
#include <QString>

// Receives every file dialog the program wants to show; tests install one to
// answer them without a person.
class UFileDialogHandler
{
public:
    virtual ~UFileDialogHandler() = default;
    virtual QString getOpenFileName(QWidget *parent, const QString &caption, const QString &dir,
                                    const QString &filter, QString *selectedFilter,
                                    QFileDialog::Options options) = 0;
    virtual QString getSaveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                    const QString &filter, QString *selectedFilter,
                                    QFileDialog::Options options) = 0;
};

// The one place file dialogs are opened; same arguments as QFileDialog's.
class UFileDialog
{
public:
    static QString getOpenFileName(QWidget *parent = nullptr, const QString &caption = QString(),
                                   const QString &dir = QString(),
                                   const QString &filter = QString(),
                                   QString *selectedFilter = nullptr,
                                   QFileDialog::Options options = QFileDialog::Options());
    static QString getSaveFileName(QWidget *parent = nullptr, const QString &caption = QString(),
                                   const QString &dir = QString(),
                                   const QString &filter = QString(),
                                   QString *selectedFilter = nullptr,
                                   QFileDialog::Options options = QFileDialog::Options());

    // Null restores the real dialogs. The handler is not owned.
    static void setHandler(UFileDialogHandler *handler);
    static UFileDialogHandler *handler();
};
