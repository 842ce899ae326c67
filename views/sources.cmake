target_sources(zrbeditor PRIVATE
    views/KQmlController.h views/KQmlController.cpp
    views/VModeManager.h views/VModeManager.cpp
    views/VQmlFrame.h views/VQmlFrame.cpp
)
