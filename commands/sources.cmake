target_sources(zrbeditor PRIVATE
    commands/BCommand.h commands/BCommand.cpp
    commands/BCommandFactory.h commands/BCommandFactory.cpp
    commands/BCommandProcessor.h commands/BCommandProcessor.cpp
    commands/BEditUndoCommand.h commands/BEditUndoCommand.cpp
    commands/BEditRedoCommand.h commands/BEditRedoCommand.cpp
    commands/BSelection.h commands/BSelection.cpp
    commands/BToolSelectCommand.h commands/BToolSelectCommand.cpp
    commands/BToolDragCommand.h commands/BToolDragCommand.cpp
    commands/BToolResizeCommand.h commands/BToolResizeCommand.cpp
    commands/BToolReshapeCommand.h commands/BToolReshapeCommand.cpp
    commands/BToolVertexCommand.h commands/BToolVertexCommand.cpp
    commands/BToolNudgeCommand.h commands/BToolNudgeCommand.cpp
    commands/BAlignCommand.h commands/BAlignCommand.cpp
    commands/BLayoutSpaceCommand.h commands/BLayoutSpaceCommand.cpp
    commands/BLayoutOrderCommand.h commands/BLayoutOrderCommand.cpp
)
