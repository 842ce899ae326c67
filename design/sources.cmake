target_sources(zrbmodel PRIVATE
    design/CParameter.h design/CParameter.cpp
    design/HTreeRow.h
    design/HTreeRows.h design/HTreeRows.cpp
    design/HTemplateCache.h design/HTemplateCache.cpp
    design/HNode.h design/HNode.cpp
    design/HComposite.h design/HComposite.cpp
    design/HRoot.h design/HRoot.cpp
    design/HChassis.h design/HChassis.cpp
    design/HAudioIO.h design/HAudioIO.cpp
    design/HTorvaLink.h design/HTorvaLink.cpp
    design/HBlock.h design/HBlock.cpp
    design/HGroup.h design/HGroup.cpp
    design/HParameterSet.h design/HParameterSet.cpp
    design/HNodeFactory.h design/HNodeFactory.cpp
    design/XParameterHandler.h design/XParameterHandler.cpp
    design/XZDPHandler.h design/XZDPHandler.cpp
    design/HDesignReport.h design/HDesignReport.cpp
)
