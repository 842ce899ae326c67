target_sources(zrbeditor PRIVATE
    commands/BCommand.h commands/BCommand.cpp
    commands/BCommandFactory.h commands/BCommandFactory.cpp
    commands/BCommandProcessor.h commands/BCommandProcessor.cpp
    commands/BEditUndoCommand.h commands/BEditUndoCommand.cpp
    commands/BEditRedoCommand.h commands/BEditRedoCommand.cpp
)
