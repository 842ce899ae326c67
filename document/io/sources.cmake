set(ZRB_SAX_SOURCES
    document/io/XmlHandler.cpp
    document/io/XControlHandler.cpp
)
target_sources(zrbmodel PRIVATE
    document/io/XmlWriter.h document/io/XmlWriter.cpp
    document/io/XItemRecordWriter.h document/io/XItemRecordWriter.cpp
    document/io/XmlHandler.h ${ZRB_SAX_SOURCES}
    document/io/XControlHandler.h
    document/io/UArchive.h document/io/UArchive.cpp
    document/io/UArchiveHeader.h document/io/UArchiveHeader.cpp
    document/io/UArchiveHeaderRecord.h document/io/UArchiveHeaderRecord.cpp
    document/io/UProgress.h document/io/UProgress.cpp
)
# The archive inflates members in bounded chunks, which qUncompress cannot do.
find_package(ZLIB REQUIRED)
target_link_libraries(zrbmodel PRIVATE ZLIB::ZLIB)
