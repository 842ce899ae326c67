#include "dialogs/DTemplateDialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

DTemplateDialog::DTemplateDialog(const QString &folder, const QString &extension, QWidget *parent)
    : DModalDialog(parent), m_folder(folder), m_extension(extension)
{
    setWindowTitle(tr("Select a Template"));
    resize(300, 260);

    m_pTemplateList = new QListWidget(this);
    m_pTemplateList->setObjectName(QStringLiteral("m_pTemplateList"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("m_pButtonBox"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pTemplateList);
    layout->addWidget(buttons);

    connect(m_pTemplateList, &QListWidget::itemClicked, this, &DTemplateDialog::choose);
    // The arrow keys choose as well as a click does.
    connect(m_pTemplateList, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem *current) { choose(current); });
    connect(m_pTemplateList, &QListWidget::itemDoubleClicked, this,
            &DTemplateDialog::chooseAndAccept);
    connect(buttons, &QDialogButtonBox::accepted, this, &DTemplateDialog::pass);
    connect(buttons, &QDialogButtonBox::rejected, this, &DTemplateDialog::fail);
}

void DTemplateDialog::initialize()
{
    m_pTemplateList->clear();
    m_chosenName.clear();
    const QStringList entries =
        QDir(m_folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (QString entry : entries) {
        if (entry.length() > 4)
            m_pTemplateList->addItem(entry.remove(m_extension, Qt::CaseInsensitive));
    }
    if (m_pTemplateList->count() > 0) {
        m_pTemplateList->setCurrentRow(0);
        m_chosenName = m_pTemplateList->item(0)->text();
    }
}

QStringList DTemplateDialog::names() const
{
    QStringList shown;
    for (int row = 0; row < m_pTemplateList->count(); ++row)
        shown.append(m_pTemplateList->item(row)->text());
    return shown;
}

bool DTemplateDialog::selectTemplate(const QString &name)
{
    const QList<QListWidgetItem *> found = m_pTemplateList->findItems(name, Qt::MatchExactly);
    if (found.isEmpty())
        return false;
    m_pTemplateList->setCurrentItem(found.first());
    choose(found.first());
    return true;
}

void DTemplateDialog::choose(QListWidgetItem *item)
{
    if (item)
        m_chosenName = item->text();
}

void DTemplateDialog::chooseAndAccept(QListWidgetItem *item)
{
    choose(item);
    pass();
}

void DTemplateDialog::pass()
{
    // An empty chooser yields an empty path, which callers ignore.
    m_path = m_chosenName.isEmpty() ? QString() : m_folder + m_chosenName + m_extension;
    setResultCode(Accepted);
    QDialog::accept();
}

void DTemplateDialog::fail()
{
    setResultCode(Refused);
    QDialog::reject();
}

void DTemplateDialog::accept()
{
    pass();
}

void DTemplateDialog::reject()
{
    fail();
}
