#include "commands/BCommandFactory.h"

#include "commands/BEditRedoCommand.h"
#include "commands/BEditUndoCommand.h"

BCommandFactory *BCommandFactory::instance()
{
    // Stateless, so one object for the whole run is enough.
    static BCommandFactory factory;
    return &factory;
}

BCommand *BCommandFactory::create(int code) const
{
    switch (code) {
    case EditUndo:
        return new BEditUndoCommand;
    case EditRedo:
        return new BEditRedoCommand;
    default:
        return nullptr;
    }
}
