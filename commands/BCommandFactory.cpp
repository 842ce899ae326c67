#include "commands/BCommandFactory.h"

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

BCommandFactory *BCommandFactory::instance()
{
    // Stateless, so one object for the whole run is enough.
    static BCommandFactory factory;
    return &factory;
}

std::unique_ptr<BCommand> BCommandFactory::create(int code) const
{
    switch (code) {
    case EditUndo:
        return std::make_unique<BEditUndoCommand>();
    case EditRedo:
        return std::make_unique<BEditRedoCommand>();
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
