target_sources(zrbcore PRIVATE
    resources/data.qrc
    resources/skins.qrc
    resources/images.qrc
    resources/qml.qrc
    resources/qmlcontrol.qrc
)
