target_sources(zrbcore PRIVATE
    resources/data.qrc
    resources/skins.qrc
    resources/images.qrc
)
