#include "commands/BCommandFactory.h"

#include "commands/BEditRedoCommand.h"
#include "commands/BEditUndoCommand.h"
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
    default:
        return nullptr;
    }
}
