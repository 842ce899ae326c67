#include "commands/BCommandFactory.h"

#include "commands/BAlignCommand.h"
#include "commands/BDropControlCommand.h"
#include "commands/BDropLinkCommand.h"
#include "commands/BDropPanelCommand.h"
#include "commands/BDropSiteCommand.h"
#include "commands/BEditCopyCommand.h"
#include "commands/BEditDeleteCommand.h"
#include "commands/BEditPasteCommand.h"
#include "commands/BEditPropCommand.h"
#include "commands/BEditRedoCommand.h"
#include "commands/BEditUndoCommand.h"
#include "commands/BLayoutOrderCommand.h"
#include "commands/BLayoutSpaceCommand.h"
#include "commands/BToolDragCommand.h"
#include "commands/BToolNudgeCommand.h"
#include "commands/BToolReshapeCommand.h"
#include "commands/BToolResizeCommand.h"
#include "commands/BToolSelectCommand.h"
#include "commands/BToolVertexCommand.h"

BCommandFactory *BCommandFactory::instance()
{
    // Stateless, so one object for the whole run is enough.
    static BCommandFactory factory;
    return &factory;
}

std::unique_ptr<BCommand> BCommandFactory::create(int code) const
{
    switch (code) {
    case ToolSelect:
        return std::make_unique<BToolSelectCommand>();
    case ToolDrag:
        return std::make_unique<BToolDragCommand>();
    case ToolResize:
        return std::make_unique<BToolResizeCommand>();
    case ToolReshape:
        return std::make_unique<BToolReshapeCommand>();
    case ToolDeleteVertex:
        return std::make_unique<BToolDeleteVertexCommand>();
    case ToolInsertVertex:
        return std::make_unique<BToolInsertVertexCommand>();
    case ToolNudge:
        return std::make_unique<BToolNudgeCommand>();
    case EditUndo:
        return std::make_unique<BEditUndoCommand>();
    case EditRedo:
        return std::make_unique<BEditRedoCommand>();
    case LayoutFront:
        return std::make_unique<BLayoutFrontCommand>();
    case LayoutForward:
        return std::make_unique<BLayoutForwardCommand>();
    case LayoutBack:
        return std::make_unique<BLayoutBackCommand>();
    case LayoutBackward:
        return std::make_unique<BLayoutBackwardCommand>();
    case AlignLeft:
        return std::make_unique<BAlignLeftCommand>();
    case AlignRight:
        return std::make_unique<BAlignRightCommand>();
    case AlignTop:
        return std::make_unique<BAlignTopCommand>();
    case AlignBottom:
        return std::make_unique<BAlignBottomCommand>();
    case AlignHCenter:
        return std::make_unique<BAlignHCenterCommand>();
    case AlignVCenter:
        return std::make_unique<BAlignVCenterCommand>();
    case LayoutSpaceAcross:
        return std::make_unique<BLayoutSpaceAcrossCommand>();
    case LayoutSpaceDown:
        return std::make_unique<BLayoutSpaceDownCommand>();
    case EditCut:
        return std::make_unique<BEditCutCommand>();
    case EditCopy:
        return std::make_unique<BEditCopyCommand>();
    case EditPaste:
        return std::make_unique<BEditPasteCommand>();
    case EditDelete:
        return std::make_unique<BEditDeleteCommand>();
    case EditProp:
        return std::make_unique<BEditPropCommand>();
    case DropControl:
        return std::make_unique<BDropControlCommand>();
    case DropPanel:
        return std::make_unique<BDropPanelCommand>();
    case DropSite:
        return std::make_unique<BDropSiteCommand>();
    case DropLink:
        return std::make_unique<BDropLinkCommand>();
    default:
        return nullptr;
    }
}
