#include "common/EditorTestSupport.h"

#include "app/KController.h"
#include "commands/BCommand.h"
#include "commands/BCommandFactory.h"
#include "commands/BCommandProcessor.h"
#include "dialogs/DUndoListDialog.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QtTest>

namespace {

// A real command that writes every call it gets into a shared log.
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
    int id() const override { return 0x7f00; }

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
        for (int id : {0x3007, 0x3008, 0x3014, 0x3016}) {
            auto *created = new QAction(this);
            created->setEnabled(true);
            m_actions.insert(id, created);
        }
    }
    QAction *action(int id) const override { return m_actions.value(id, nullptr); }

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

    void factoryCreates_data();
    void factoryCreates();
    void processFilesByUndoMode_data();
    void processFilesByUndoMode();
    void modeChangedDuringRunDecides();
    void undoListKeepsHundred();
    void newRecordedCommandEmptiesRedo();
    void undoThenRedoRestoresOrder();
    void multiStepUndoRedo_data();
    void multiStepUndoRedo();
    void undoRedoMenuCommandsNeverListed();
    void releaseDeletesHistory();
    void actionsFollowLists();
    void pasteFollowsClipboard();
    void undoListDialogRows();
    void undoListDialogDoubleClick();

private:
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

void TestCommands::factoryCreates_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QString>("text");

    QTest::newRow("undo") << 0x2100 << true << "Undo";
    QTest::newRow("redo") << 0x2101 << true << "Redo";
    QTest::newRow("unassigned 0x2106") << 0x2106 << false << "";
    QTest::newRow("zero") << 0 << false << "";
    QTest::newRow("action code") << 0x3007 << false << "";
    QTest::newRow("negative") << -1 << false << "";
}

void TestCommands::factoryCreates()
{
    QFETCH(int, code);
    QFETCH(bool, exists);
    QFETCH(QString, text);

    BCommand *command = BCommandFactory::instance()->create(code);
    QCOMPARE(command != nullptr, exists);
    if (command) {
        QCOMPARE(command->id(), code);
        QCOMPARE(command->text(), text);
        QCOMPARE(command->description(), text);
        QCOMPARE(command->undoMode(), 0u);
        QCOMPARE(command->state(), int(BCommand::New));
    }
    delete command;
}

void TestCommands::processFilesByUndoMode_data()
{
    QTest::addColumn<unsigned int>("mode");
    QTest::addColumn<QString>("undoAfter");
    QTest::addColumn<QString>("redoAfter");
    QTest::addColumn<bool>("deleted");

    // Each row starts from undo list "a" and redo list "b".
    QTest::newRow("0 transient") << 0u << "a"
                                 << "b" << true;
    QTest::newRow("1 recorded") << 1u << "a,new"
                                << "" << false;
    QTest::newRow("2 clears history") << 2u << ""
                                      << "" << true;
    QTest::newRow("5 kept by creator") << 5u << "a"
                                       << "b" << false;
}

void TestCommands::processFilesByUndoMode()
{
    QFETCH(unsigned int, mode);
    QFETCH(QString, undoAfter);
    QFETCH(QString, redoAfter);
    QFETCH(bool, deleted);

    BCommandProcessor *processor = BCommandProcessor::instance();
    processor->process(new LogCommand(&m_log, QStringLiteral("a")));
    processor->process(new LogCommand(&m_log, QStringLiteral("b")));
    processor->undo();
    m_log.clear();

    auto *command = new LogCommand(&m_log, QStringLiteral("new"), mode);
    processor->process(command);

    QCOMPARE(names(processor, true), undoAfter);
    QCOMPARE(names(processor, false), redoAfter);
    QCOMPARE(m_log.first(), QStringLiteral("redo:new"));
    QCOMPARE(m_log.contains(QStringLiteral("deleted:new")), deleted);
    if (!deleted && mode != 1u) {
        QCOMPARE(command->state(), int(BCommand::Done));
        delete command;
    }
}

void TestCommands::modeChangedDuringRunDecides()
{
    BCommandProcessor *processor = BCommandProcessor::instance();
    auto *dropped = new LogCommand(&m_log, QStringLiteral("dropped"), BCommand::Recorded);
    dropped->m_modeAfterRun = BCommand::Transient;
    processor->process(dropped);
    QCOMPARE(processor->undoCount(), 0);
    QVERIFY2(m_log.contains(QStringLiteral("deleted:dropped")),
             qPrintable(m_log.join(QLatin1Char(' '))));

    auto *kept = new LogCommand(&m_log, QStringLiteral("kept"), BCommand::Transient);
    kept->m_modeAfterRun = BCommand::Recorded;
    processor->process(kept);
    QCOMPARE(names(processor, true), QStringLiteral("kept"));

    processor->process(nullptr);
    QCOMPARE(processor->undoCount(), 1);
}

void TestCommands::undoListKeepsHundred()
{
    BCommandProcessor *processor = BCommandProcessor::instance();
    for (int i = 0; i < 101; ++i)
        processor->process(new LogCommand(&m_log, QString::number(i)));

    QCOMPARE(processor->undoCount(), 100);
    QCOMPARE(processor->undoAt(0)->text(), QStringLiteral("1"));
    QCOMPARE(processor->undoAt(99)->text(), QStringLiteral("100"));
    QVERIFY(!processor->undoAt(100));
    QVERIFY(!processor->undoAt(-1));
    QVERIFY2(m_log.contains(QStringLiteral("deleted:0")), "the oldest command was not deleted");

    // Undoing everything moves 100 commands; the redo list never exceeds 100 either.
    processor->undo(150);
    QCOMPARE(processor->undoCount(), 0);
    QCOMPARE(processor->redoCount(), 100);
    QCOMPARE(processor->redoAt(99)->text(), QStringLiteral("1"));
}

void TestCommands::newRecordedCommandEmptiesRedo()
{
    BCommandProcessor *processor = BCommandProcessor::instance();
    processor->process(new LogCommand(&m_log, QStringLiteral("a")));
    processor->process(new LogCommand(&m_log, QStringLiteral("b")));
    processor->undo();
    processor->undo();
    QCOMPARE(names(processor, false), QStringLiteral("b,a"));

    processor->process(new LogCommand(&m_log, QStringLiteral("c")));
    QCOMPARE(names(processor, true), QStringLiteral("c"));
    QCOMPARE(processor->redoCount(), 0);
    QVERIFY(m_log.contains(QStringLiteral("deleted:a")));
    QVERIFY(m_log.contains(QStringLiteral("deleted:b")));
}

void TestCommands::undoThenRedoRestoresOrder()
{
    BCommandProcessor *processor = BCommandProcessor::instance();
    processor->process(new LogCommand(&m_log, QStringLiteral("a")));
    processor->process(new LogCommand(&m_log, QStringLiteral("b")));
    BCommand *last = processor->undoAt(1);
    QCOMPARE(last->state(), int(BCommand::Done));

    processor->undo();
    QCOMPARE(last->state(), int(BCommand::Undone));
    QCOMPARE(processor->redoAt(0), last);
    processor->redo();

    QCOMPARE(processor->undoAt(processor->undoCount() - 1), last);
    QCOMPARE(last->state(), int(BCommand::Done));
    QCOMPARE(processor->redoCount(), 0);
    QCOMPARE(m_log.join(QLatin1Char(' ')), QStringLiteral("redo:a redo:b undo:b redo:b"));

    // Steps on empty lists change nothing.
    processor->redo();
    QCOMPARE(names(processor, true), QStringLiteral("a,b"));
}

void TestCommands::multiStepUndoRedo_data()
{
    QTest::addColumn<int>("undoRow");
    QTest::addColumn<int>("redoRow");
    QTest::addColumn<QString>("undoAfter");
    QTest::addColumn<QString>("redoAfter");

    QTest::newRow("bottom row undoes all five") << 4 << -1 << ""
                                                << "5,4,3,2,1";
    QTest::newRow("row 1 undoes two") << 1 << -1 << "1,2,3"
                                      << "5,4";
    QTest::newRow("row beyond the list stops early") << 9 << -1 << ""
                                                     << "5,4,3,2,1";
    QTest::newRow("negative row does nothing") << -1 << -1 << "1,2,3,4,5"
                                               << "";
    QTest::newRow("redo row 2 of five") << 4 << 2 << "1,2,3"
                                        << "5,4";
    QTest::newRow("redo row 0 one step") << 4 << 0 << "1"
                                         << "5,4,3,2";
}

void TestCommands::multiStepUndoRedo()
{
    QFETCH(int, undoRow);
    QFETCH(int, redoRow);
    QFETCH(QString, undoAfter);
    QFETCH(QString, redoAfter);

    BCommandProcessor *processor = BCommandProcessor::instance();
    for (int i = 1; i <= 5; ++i)
        processor->process(new LogCommand(&m_log, QString::number(i)));
    processor->undo(undoRow);
    processor->redo(redoRow);
    QCOMPARE(names(processor, true), undoAfter);
    QCOMPARE(names(processor, false), redoAfter);
}

void TestCommands::undoRedoMenuCommandsNeverListed()
{
    BCommandProcessor *processor = BCommandProcessor::instance();
    processor->process(new LogCommand(&m_log, QStringLiteral("a")));
    processor->process(new LogCommand(&m_log, QStringLiteral("b")));

    processor->process(BCommandFactory::instance()->create(BCommandFactory::EditUndo));
    QCOMPARE(names(processor, true), QStringLiteral("a"));
    QCOMPARE(names(processor, false), QStringLiteral("b"));

    processor->process(BCommandFactory::instance()->create(BCommandFactory::EditRedo));
    QCOMPARE(names(processor, true), QStringLiteral("a,b"));
    QCOMPARE(processor->redoCount(), 0);

    // Undoing the menu commands themselves must not touch the history.
    BCommand *undo = BCommandFactory::instance()->create(BCommandFactory::EditUndo);
    BCommand *redo = BCommandFactory::instance()->create(BCommandFactory::EditRedo);
    undo->undoCommand();
    redo->undoCommand();
    delete undo;
    delete redo;
    QCOMPARE(names(processor, true), QStringLiteral("a,b"));
}

void TestCommands::releaseDeletesHistory()
{
    BCommandProcessor *processor = BCommandProcessor::instance();
    processor->process(new LogCommand(&m_log, QStringLiteral("a")));
    processor->process(new LogCommand(&m_log, QStringLiteral("b")));
    processor->undo();
    BCommandProcessor::release();
    QVERIFY(m_log.contains(QStringLiteral("deleted:a")));
    QVERIFY(m_log.contains(QStringLiteral("deleted:b")));
    QCOMPARE(BCommandProcessor::instance()->undoCount(), 0);
    QCOMPARE(BCommandProcessor::instance()->redoCount(), 0);
}

void TestCommands::actionsFollowLists()
{
    ActionController controller;
    BCommandProcessor *processor = BCommandProcessor::instance();
    processor->setController(&controller);
    auto enabled = [&controller]() {
        return QStringLiteral("%1%2%3")
            .arg(int(controller.action(0x3007)->isEnabled()))
            .arg(int(controller.action(0x3008)->isEnabled()))
            .arg(int(controller.action(0x3016)->isEnabled()));
    };
    // Undo, Redo, Undo List.
    QCOMPARE(enabled(), QStringLiteral("000"));
    processor->process(new LogCommand(&m_log, QStringLiteral("a")));
    QCOMPARE(enabled(), QStringLiteral("101"));
    processor->undo();
    QCOMPARE(enabled(), QStringLiteral("011"));
    processor->redo();
    QCOMPARE(enabled(), QStringLiteral("101"));

    // An empty-list step still refreshes the actions.
    controller.action(0x3008)->setEnabled(true);
    processor->redo();
    QCOMPARE(enabled(), QStringLiteral("101"));

    processor->clear();
    QCOMPARE(enabled(), QStringLiteral("000"));
    QVERIFY(m_log.contains(QStringLiteral("deleted:a")));
    processor->setController(nullptr);
}

void TestCommands::pasteFollowsClipboard()
{
    setClipboardFormat(QStringLiteral("application/control"));
    ActionController controller;
    QAction *paste = controller.action(0x3014);
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

void TestCommands::undoListDialogRows()
{
    BCommandProcessor *processor = BCommandProcessor::instance();
    for (const char *name : {"a", "b", "c", "d"})
        processor->process(new LogCommand(&m_log, QLatin1String(name)));
    processor->undo();

    DUndoListDialog dialog(processor);
    dialog.initialize();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Undo/Redo"));
    QCOMPARE(dialog.size(), QSize(330, 300));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QCOMPARE(dialog.undoList()->geometry(), QRect(10, 30, 151, 261));
    QCOMPARE(dialog.redoList()->geometry(), QRect(170, 30, 151, 261));
    const QList<QLabel *> labels = dialog.findChildren<QLabel *>();
    QStringList labelTexts;
    for (QLabel *label : labels) {
        labelTexts.append(label->text());
        QCOMPARE(label->alignment(), Qt::Alignment(Qt::AlignCenter));
        QCOMPARE(label->size(), QSize(151, 16));
        QVERIFY2(label->pos() == QPoint(10, 10) || label->pos() == QPoint(170, 10),
                 qPrintable(label->text()));
    }
    labelTexts.sort();
    QCOMPARE(labelTexts, QStringList({QStringLiteral("Redo List"), QStringLiteral("Undo List")}));

    QCOMPARE(rows(dialog.undoList()), QStringLiteral("c,b,a"));
    QCOMPARE(rows(dialog.redoList()), QStringLiteral("d"));
}

void TestCommands::undoListDialogDoubleClick()
{
    BCommandProcessor *processor = BCommandProcessor::instance();
    for (const char *name : {"a", "b", "c", "d", "e"})
        processor->process(new LogCommand(&m_log, QLatin1String(name)));

    DUndoListDialog dialog(processor);
    dialog.show();
    dialog.initialize();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    // A real double-click on row 1 of the undo list undoes the two newest.
    QListWidget *undoList = dialog.undoList();
    doubleClickRow(undoList, 1);
    QTRY_COMPARE_WITH_TIMEOUT(rows(dialog.undoList()), QStringLiteral("c,b,a"), 10000);
    QCOMPARE(rows(dialog.redoList()), QStringLiteral("d,e"));
    QCOMPARE(names(processor, false), QStringLiteral("e,d"));

    // Double-clicking the bottom row of the undo list undoes every step.
    QListWidget *list = dialog.undoList();
    doubleClickRow(list, list->count() - 1);
    QTRY_COMPARE_WITH_TIMEOUT(dialog.undoList()->count(), 0, 10000);
    QCOMPARE(rows(dialog.redoList()), QStringLiteral("a,b,c,d,e"));

    // And the redo list's row 0 redoes exactly one.
    list = dialog.redoList();
    doubleClickRow(list, 0);
    QTRY_COMPARE_WITH_TIMEOUT(rows(dialog.undoList()), QStringLiteral("a"), 10000);
    QCOMPARE(rows(dialog.redoList()), QStringLiteral("b,c,d,e"));
}

ZRB_TEST_MAIN(TestCommands)
#include "tst_commands.moc"
