#include "common/EditorTestSupport.h"

#include "app/KMainController.h"
#include "commands/BCommand.h"
#include "commands/BCommandFactory.h"
#include "commands/BCommandProcessor.h"
#include "dialogs/DUndoListDialog.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QMimeData>
#include <QtTest>

#include <memory>

namespace {

// A real command that writes every call it gets, and its deletion, into a
// shared log.
class LogCommand : public BCommand
{
public:
    LogCommand(QStringList *log, const QString &name, unsigned int mode = Recorded)
        : BCommand(mode), m_pLog(log), m_name(name)
    {
    }
    ~LogCommand() override { m_pLog->append(QStringLiteral("deleted:") + m_name); }

    void redoCommand() override
    {
        m_pLog->append(QStringLiteral("redo:") + m_name);
        BCommand::redoCommand();
        if (m_modeAfterRun >= 0)
            m_undoMode = static_cast<unsigned int>(m_modeAfterRun);
    }
    void undoCommand() override
    {
        m_pLog->append(QStringLiteral("undo:") + m_name);
        BCommand::undoCommand();
    }
    QString text() const override { return m_name; }

    // Lets a test change the undo mode while the command runs.
    int m_modeAfterRun = -1;

private:
    QStringList *m_pLog;
    QString m_name;
};

// A controller that owns the four actions the processor drives.
class ActionController : public KController
{
public:
    ActionController()
    {
        for (int id : {KMainController::UndoAction, KMainController::RedoAction,
                       KMainController::PasteAction, KMainController::UndoListAction})
            m_actions.insert(id, new QAction(this));
    }
    QAction *action(int id) const override { return m_actions.value(id, nullptr); }

    // Undo, Redo and Undo List as three digits.
    QString history() const
    {
        return QStringLiteral("%1%2%3")
            .arg(int(action(KMainController::UndoAction)->isEnabled()))
            .arg(int(action(KMainController::RedoAction)->isEnabled()))
            .arg(int(action(KMainController::UndoListAction)->isEnabled()));
    }

private:
    QHash<int, QAction *> m_actions;
};

QString names(BCommandProcessor *processor, bool undoList)
{
    QStringList shown;
    const int count = undoList ? processor->undoCount() : processor->redoCount();
    for (int i = 0; i < count; ++i)
        shown.append((undoList ? processor->undoAt(i) : processor->redoAt(i))->text());
    return shown.join(QLatin1Char(','));
}

QString rows(QListWidget *list)
{
    QStringList shown;
    for (int row = 0; row < list->count(); ++row)
        shown.append(list->item(row)->text());
    return shown.join(QLatin1Char(','));
}

// The item views want the press of the first click before the double-click.
void doubleClickRow(QListWidget *list, int row)
{
    const QPoint centre = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
}

void setClipboardFormat(const QString &format)
{
    auto *data = new QMimeData;
    data->setData(format, QByteArrayLiteral("<ZDX/>"));
    QGuiApplication::clipboard()->setMimeData(data);
}

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void processOwnsByUndoMode_data();
    void processOwnsByUndoMode();
    void historyKeepsHundred();
    void multiStepUndoRedo_data();
    void multiStepUndoRedo();
    void undoRedoMenuCommandsNeverListed();
    void actionsFollowLists();
    void pasteFollowsClipboard();
    void undoListDialog();

private:
    // Files one recorded LogCommand per name.
    void record(const QStringList &names);

    QStringList m_log;
};

void TestCommands::init()
{
    BCommandProcessor::release();
    m_log.clear();
}

void TestCommands::cleanup()
{
    BCommandProcessor::release();
}

void TestCommands::record(const QStringList &names)
{
    for (const QString &name : names)
        BCommandProcessor::instance()->process(std::make_unique<LogCommand>(&m_log, name));
}

void TestCommands::processOwnsByUndoMode_data()
{
    QTest::addColumn<unsigned int>("mode");
    QTest::addColumn<int>("modeAfterRun"); // -1: unchanged
    QTest::addColumn<QString>("undoAfter");
    QTest::addColumn<QString>("redoAfter");
    QTest::addColumn<QString>("logAfter"); // what process did, in order
    QTest::addColumn<bool>("handedBack");

    // Each row starts from undo list "a" and redo list "b".
    // clang-format off
    QTest::newRow("0 deleted at once")
        << 0u << -1 << "a" << "b" << "redo:new deleted:new" << false;
    QTest::newRow("1 kept, redo emptied")
        << 1u << -1 << "a,new" << "" << "redo:new deleted:b" << false;
    QTest::newRow("2 clears history, then deleted")
        << 2u << -1 << "" << "" << "redo:new deleted:a deleted:b deleted:new" << false;
    QTest::newRow("5 handed back")
        << 5u << -1 << "a" << "b" << "redo:new" << true;
    QTest::newRow("recorded, turned transient")
        << 1u << 0 << "a" << "b" << "redo:new deleted:new" << false;
    QTest::newRow("transient, turned recorded")
        << 0u << 1 << "a,new" << "" << "redo:new deleted:b" << false;
    // clang-format on
}

void TestCommands::processOwnsByUndoMode()
{
    QFETCH(unsigned int, mode);
    QFETCH(int, modeAfterRun);
    QFETCH(QString, undoAfter);
    QFETCH(QString, redoAfter);
    QFETCH(QString, logAfter);
    QFETCH(bool, handedBack);

    BCommandProcessor *processor = BCommandProcessor::instance();
    record({QStringLiteral("a"), QStringLiteral("b")});
    processor->undo();
    m_log.clear();

    auto command = std::make_unique<LogCommand>(&m_log, QStringLiteral("new"), mode);
    command->m_modeAfterRun = modeAfterRun;
    BCommand *const sent = command.get();
    std::unique_ptr<BCommand> back = processor->process(std::move(command));

    QCOMPARE(m_log.join(QLatin1Char(' ')), logAfter);
    QCOMPARE(names(processor, true), undoAfter);
    QCOMPARE(names(processor, false), redoAfter);
    QCOMPARE(back.get(), handedBack ? sent : nullptr);

    QVERIFY(!processor->process(nullptr));

    // The rest goes with its owner, the caller or the history, and only once.
    if (back)
        QCOMPARE(back->state(), int(BCommand::Done));
    back.reset();
    BCommandProcessor::release();
    for (const char *name : {"a", "b", "new"})
        QCOMPARE(m_log.count(QStringLiteral("deleted:") + QLatin1String(name)), 1);
}

void TestCommands::historyKeepsHundred()
{
    BCommandProcessor *processor = BCommandProcessor::instance();
    for (int i = 0; i < 101; ++i)
        record({QString::number(i)});

    QCOMPARE(processor->undoCount(), 100);
    QCOMPARE(processor->undoAt(0)->text(), QStringLiteral("1"));
    QCOMPARE(processor->undoAt(99)->text(), QStringLiteral("100"));
    QVERIFY(!processor->undoAt(100));
    QVERIFY(!processor->undoAt(-1));
    QCOMPARE(m_log.filter(QStringLiteral("deleted:")), QStringList{QStringLiteral("deleted:0")});

    // Undoing everything moves 100 commands; the redo list never exceeds 100 either.
    processor->undo(150);
    QCOMPARE(processor->undoCount(), 0);
    QCOMPARE(processor->redoCount(), 100);
    QCOMPARE(processor->redoAt(99)->text(), QStringLiteral("1"));
}

void TestCommands::multiStepUndoRedo_data()
{
    QTest::addColumn<int>("undoRow");
    QTest::addColumn<int>("redoRow");
    QTest::addColumn<QString>("undoAfter");
    QTest::addColumn<QString>("redoAfter");

    // clang-format off
    QTest::newRow("bottom row undoes all five") << 4 << -1 << "" << "5,4,3,2,1";
    QTest::newRow("row 1 undoes two") << 1 << -1 << "1,2,3" << "5,4";
    QTest::newRow("row beyond the list stops early") << 9 << -1 << "" << "5,4,3,2,1";
    QTest::newRow("negative row does nothing") << -1 << -1 << "1,2,3,4,5" << "";
    QTest::newRow("redo row 2 of five") << 4 << 2 << "1,2,3" << "5,4";
    QTest::newRow("redo row 0 one step") << 4 << 0 << "1" << "5,4,3,2";
    QTest::newRow("redo with nothing to redo") << -1 << 0 << "1,2,3,4,5" << "";
    // clang-format on
}

void TestCommands::multiStepUndoRedo()
{
    QFETCH(int, undoRow);
    QFETCH(int, redoRow);
    QFETCH(QString, undoAfter);
    QFETCH(QString, redoAfter);

    BCommandProcessor *processor = BCommandProcessor::instance();
    record({"1", "2", "3", "4", "5"});
    processor->undo(undoRow);
    processor->redo(redoRow);
    QCOMPARE(names(processor, true), undoAfter);
    QCOMPARE(names(processor, false), redoAfter);
    for (int i = 0; i < processor->undoCount(); ++i)
        QCOMPARE(processor->undoAt(i)->state(), int(BCommand::Done));
    for (int i = 0; i < processor->redoCount(); ++i)
        QCOMPARE(processor->redoAt(i)->state(), int(BCommand::Undone));
}

void TestCommands::undoRedoMenuCommandsNeverListed()
{
    BCommandProcessor *processor = BCommandProcessor::instance();
    BCommandFactory *factory = BCommandFactory::instance();
    for (int code : {int(BCommandFactory::EditUndo), int(BCommandFactory::EditRedo)})
        QCOMPARE(factory->create(code)->id(), code);
    // Codes that name no command class give none.
    for (int code : {int(BCommandFactory::EditProp) - 1, int(KMainController::UndoAction), -1})
        QVERIFY2(!factory->create(code), qPrintable(QString::number(code, 16)));
    record({QStringLiteral("a"), QStringLiteral("b")});

    QVERIFY(!processor->process(factory->create(BCommandFactory::EditUndo)));
    QCOMPARE(names(processor, true), QStringLiteral("a"));
    QCOMPARE(names(processor, false), QStringLiteral("b"));

    QVERIFY(!processor->process(factory->create(BCommandFactory::EditRedo)));
    QCOMPARE(names(processor, true), QStringLiteral("a,b"));
    QCOMPARE(processor->redoCount(), 0);

    // Undoing the menu commands themselves must not touch the history.
    factory->create(BCommandFactory::EditUndo)->undoCommand();
    factory->create(BCommandFactory::EditRedo)->undoCommand();
    QCOMPARE(names(processor, true), QStringLiteral("a,b"));
}

void TestCommands::actionsFollowLists()
{
    ActionController controller;
    BCommandProcessor *processor = BCommandProcessor::instance();
    processor->setController(&controller);
    QCOMPARE(controller.history(), QStringLiteral("000"));
    record({QStringLiteral("a")});
    QCOMPARE(controller.history(), QStringLiteral("101"));
    processor->undo();
    QCOMPARE(controller.history(), QStringLiteral("011"));
    processor->redo();
    QCOMPARE(controller.history(), QStringLiteral("101"));

    // An empty-list step still refreshes the actions.
    controller.action(KMainController::RedoAction)->setEnabled(true);
    processor->redo();
    QCOMPARE(controller.history(), QStringLiteral("101"));

    processor->clear();
    QCOMPARE(controller.history(), QStringLiteral("000"));
    QVERIFY(m_log.contains(QStringLiteral("deleted:a")));
    processor->setController(nullptr);
}

void TestCommands::pasteFollowsClipboard()
{
    setClipboardFormat(QStringLiteral("application/control"));
    ActionController controller;
    QAction *paste = controller.action(KMainController::PasteAction);
    paste->setEnabled(false);
    BCommandProcessor *processor = BCommandProcessor::instance();
    processor->setController(&controller);
    QVERIFY2(paste->isEnabled(),
             "Paste should be enabled at once when the clipboard holds a control");

    // No command runs: the clipboard change alone must update Paste.
    setClipboardFormat(QStringLiteral("application/panel"));
    QTRY_VERIFY2_WITH_TIMEOUT(!paste->isEnabled(), "Paste stayed enabled for panel data", 10000);
    setClipboardFormat(QStringLiteral("application/control"));
    QTRY_VERIFY2_WITH_TIMEOUT(paste->isEnabled(), "Paste stayed disabled for control data", 10000);
    QGuiApplication::clipboard()->setText(QStringLiteral("plain"));
    QTRY_VERIFY2_WITH_TIMEOUT(!paste->isEnabled(), "Paste stayed enabled for plain text", 10000);
    processor->setController(nullptr);
}

void TestCommands::undoListDialog()
{
    BCommandProcessor *processor = BCommandProcessor::instance();
    record({"a", "b", "c", "d", "e"});
    processor->undo();

    DUndoListDialog dialog(processor);
    dialog.show();
    dialog.initialize();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    // Newest first: row 0 is the step Undo or Redo takes next.
    QCOMPARE(rows(dialog.undoList()), QStringLiteral("d,c,b,a"));
    QCOMPARE(rows(dialog.redoList()), QStringLiteral("e"));

    // A real double-click on row 1 of the undo list undoes two more.
    doubleClickRow(dialog.undoList(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(rows(dialog.undoList()), QStringLiteral("b,a"), 10000);
    QCOMPARE(rows(dialog.redoList()), QStringLiteral("c,d,e"));
    QCOMPARE(names(processor, false), QStringLiteral("e,d,c"));

    // The bottom row undoes every step; the redo list's row 0 redoes one.
    doubleClickRow(dialog.undoList(), dialog.undoList()->count() - 1);
    QTRY_COMPARE_WITH_TIMEOUT(dialog.undoList()->count(), 0, 10000);
    QCOMPARE(rows(dialog.redoList()), QStringLiteral("a,b,c,d,e"));
    doubleClickRow(dialog.redoList(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(rows(dialog.undoList()), QStringLiteral("a"), 10000);
    QCOMPARE(rows(dialog.redoList()), QStringLiteral("b,c,d,e"));
}

ZRB_TEST_MAIN(TestCommands)
#include "tst_commands.moc"
