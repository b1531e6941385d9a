#include "Framework/LangTable.h"

ErrorCode LangTable::loadFile(const std::string&)
{
    return ERROR_NOT_YET_IMPLEMENTED;
}
