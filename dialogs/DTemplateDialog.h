#pragma once

#include "dialogs/DModalDialog.h"

class QListWidget;
class QListWidgetItem;

// Lets the user pick a panel template from a folder; answers the chosen
// template's full path.
class DTemplateDialog : public DModalDialog
{
    Q_OBJECT
public:
    DTemplateDialog(const QString &folder, const QString &extension, QWidget *parent = nullptr);

    void initialize() override;

    QString folder() const { return m_folder; }
    QString extension() const { return m_extension; }
    QString chosenName() const { return m_chosenName; }
    QString path() const { return m_path; }
    // The names offered, in the order shown.
    QStringList names() const;
    // Makes the row showing that name current and chosen; false when absent.
    bool selectTemplate(const QString &name);

public slots:
    void pass();
    void fail();
    void accept() override;
    void reject() override;

private slots:
    void choose(QListWidgetItem *item);
    void chooseAndAccept(QListWidgetItem *item);

private:
    QString m_folder;
    QString m_chosenName;
    QString m_extension;
    QString m_path;
    QListWidget *m_pTemplateList = nullptr;
};
