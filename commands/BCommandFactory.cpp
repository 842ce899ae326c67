#include "commands/BCommandFactory.h"

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
    default:
        return nullptr;
    }
}
