target_sources(zrbeditor PRIVATE
    views/KQmlController.h views/KQmlController.cpp
    views/KTabController.h views/KTabController.cpp
    views/KTreeController.h views/KTreeController.cpp
    views/VGrid.h views/VGrid.cpp
    views/VModeManager.h views/VModeManager.cpp
    views/VModel.h views/VModel.cpp
    views/VQmlFrame.h views/VQmlFrame.cpp
    views/VTabBar.h views/VTabBar.cpp
    views/VTree.h views/VTree.cpp
    views/VGrid.h views/VGrid.cpp
)
