#include "common/EditorTestSupport.h"
#include "common/RecordingMessageHandler.h"

#include "app/KComposite.h"
#include "app/MModel.h"
#include "design/HTreeRow.h"
#include "document/CCanvas.h"
#include "document/CComposite.h"
#include "views/KTabController.h"
#include "views/KTreeController.h"
#include "views/VModel.h"
#include "views/VTabBar.h"
#include "views/VTree.h"

#include <QApplication>
#include <QMimeData>
#include <QTest>

namespace {
const QString Design = QStringLiteral(ZRB_SOURCE_DIR "/examples/conference-room.zdp");
const QString Blank = QStringLiteral(ZRB_SOURCE_DIR "/templates/Blank Panel.tpl");

// The rows under parent as "text" lines, indented two spaces a level.
QStringList outline(const QAbstractItemModel *model, const QModelIndex &parent = QModelIndex(),
                    int depth = 0)
{
    QStringList lines;
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex index = model->index(row, 0, parent);
        lines << QString(depth * 2, QLatin1Char(' ')) + index.data().toString();
        lines << outline(model, index, depth + 1);
    }
    return lines;
}

QModelIndex find(const QAbstractItemModel *model, const QString &text,
                 const QModelIndex &parent = QModelIndex())
{
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex index = model->index(row, 0, parent);
        if (index.data().toString() == text)
            return index;
        const QModelIndex below = find(model, text, index);
        if (below.isValid())
            return below;
    }
    return QModelIndex();
}
} // namespace

// The project tree with the real model, document and design.
class TestTree : public QObject
{
    Q_OBJECT

private:
    CCanvas m_canvas;
    MModel *m_pModel = nullptr;
    QWidget *m_pWindow = nullptr;
    KTreeController *m_pTree = nullptr;

    VModel *items() const { return m_pTree->items(); }

private slots:
    void init()
    {
        m_pModel = new MModel();
        m_pModel->setCanvas(&m_canvas);
        m_pModel->initialize();
        QVERIFY(m_pModel->newDocument(Blank));
        m_pWindow = new QWidget();
        auto *tabs = new KTabController(m_pModel, m_pWindow);
        m_pModel->addController(tabs);
        m_pTree = dynamic_cast<KTreeController *>(m_pModel->controllers()->findController(KController::TreeType));
        QVERIFY(m_pTree);
        m_pModel->setEditMode(true);
        m_pModel->broadcast(KController::DocumentReloaded);
    }

    void cleanup()
    {
        delete m_pModel;
        m_pModel = nullptr;
        delete m_pWindow;
        m_pWindow = nullptr;
    }

    void rowsWithoutAndWithDesign()
    {
        QCOMPARE(outline(items()), (QStringList{"Graphics", "  Label", "  Image", "  Frame",
                                                "  Region", "Links", "  COLLECTION1", "    Home"}));
        QCOMPARE(items()->horizontalHeaderItem(0)->text(), QString());
        QVERIFY(m_pModel->loadDesign(Design));
        m_pModel->broadcast(KController::DocumentReloaded);
        const QStringList rows = outline(items());
        QVERIFY(rows.count() > 10);
        QCOMPARE(rows.mid(rows.indexOf("Graphics")),
                 (QStringList{"Graphics", "  Label", "  Image", "  Frame", "  Region", "Links",
                              "  COLLECTION1", "    Home"}));
        QCOMPARE(items()->horizontalHeaderItem(0)->text(), QStringLiteral("conference-room.zdp"));
        // Groups and links carry their flags and kinds by name.
        QCOMPARE(items()->itemFromIndex(find(items(), "Graphics"))->flags(), HTreeRow::GroupFlags);
        QCOMPARE(int(items()->itemFromIndex(find(items(), "Home"))->flags()), 0x1035);
    }

    void dragPayloads_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<bool>("dropSite");
        QTest::addColumn<QString>("format");
        QTest::newRow("graphic") << "Region" << false << "application/control";
        QTest::newRow("graphic onto a drop site") << "Region" << true << "application/dropsite";
        QTest::newRow("panel link") << "Home" << false << "application/link";
        QTest::newRow("group") << "Graphics" << false << "";
    }

    void dragPayloads()
    {
        QFETCH(QString, row);
        QFETCH(bool, dropSite);
        QFETCH(QString, format);
        if (dropSite) {
            auto *site = new CControl();
            site->appendItemRecord(CItemRecord(QStringLiteral("dropsite")));
            m_pModel->currentPanel()->addChild(site);
        }
        const QModelIndex index = find(items(), row);
        QVERIFY(index.isValid());
        std::unique_ptr<QMimeData> data(items()->mimeData({index}));
        QVERIFY(data);
        QCOMPARE(data->text(), row);
        QStringList formats = data->formats();
        formats.removeAll(QStringLiteral("text/plain"));
        QCOMPARE(formats, format.isEmpty() ? QStringList() : QStringList{format});
        if (format.isEmpty())
            return;
        const quint64 identity = format == QLatin1String("application/link")
                                     ? quint64(reinterpret_cast<quintptr>(m_pModel->currentPanel()))
                                     : 0;
        QCOMPARE(data->data(format), QByteArray::number(identity));
    }

    void doubleClickShowsTheLinkedPanel()
    {
        CComposite *second = m_pModel->addCollection();
        auto *lobby = new CComposite();
        lobby->assignKind(QStringLiteral("Panel"));
        lobby->setName(QStringLiteral("Lobby"));
        second->addChild(lobby);
        m_pModel->broadcast(KController::PanelsChanged);
        VTree *tree = m_pTree->tree();
        m_pWindow->resize(300, 600);
        tree->resize(300, 600);
        tree->expandAll();
        const auto doubleClick = [tree](const QModelIndex &index) {
            QTest::mouseDClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier,
                               tree->visualRect(index).center());
        };
        // A group row only opens or closes.
        doubleClick(find(items(), "Graphics"));
        QCOMPARE(m_pModel->currentPanel()->name(), QStringLiteral("Home"));
        doubleClick(find(items(), "Lobby"));
        QCOMPARE(m_pModel->currentPanel(), lobby);
    }

    void editModeAndKeys()
    {
        VTree *tree = m_pTree->tree();
        m_pModel->setEditMode(false);
        QVERIFY(!tree->dragEnabled());
        QVERIFY(tree->styleSheet().contains(QStringLiteral("lightgray")));
        m_pModel->setEditMode(true);
        QVERIFY(tree->dragEnabled());

        // Arrowing onto a group opens it; with Control held it stays closed.
        tree->resize(300, 600);
        const QModelIndex graphics = find(items(), "Graphics");
        const QModelIndex links = find(items(), "Links");
        tree->setCurrentIndex(graphics);
        QVERIFY(tree->isExpanded(graphics));
        tree->collapseAll();
        QTest::keyPress(tree, Qt::Key_Control);
        QTest::keyClick(tree, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(tree->currentIndex(), links);
        QVERIFY(!tree->isExpanded(links));
        QTest::keyRelease(tree, Qt::Key_Control);
        QCOMPARE(tree->heldKey(), 0);
    }
};

ZRB_TEST_MAIN(TestTree)
#include "tst_tree.moc"
