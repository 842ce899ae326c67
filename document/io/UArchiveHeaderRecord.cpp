#include "document/io/UArchiveHeaderRecord.h"

UArchiveHeaderRecord::UArchiveHeaderRecord(UArchiveHeader *owner) : owner(owner) {}

UArchiveHeaderRecord::~UArchiveHeaderRecord() = default;
