# The document reads its templates, device list and skin list from these.
target_sources(zrbmodel PRIVATE
    resources/data.qrc
    resources/skins.qrc
)
target_sources(zrbeditor PRIVATE
    resources/images.qrc
    resources/qml.qrc
    resources/qmlcontrol.qrc
)
