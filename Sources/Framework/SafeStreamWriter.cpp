#include "Framework/SafeStreamWriter.h"

#include "Framework/SafeFileWriter.h"

#include <algorithm>
#include <limits>

ErrorCode ByteVectorOutputStream::transfer(void* address, uint32_t byteCount)
{
    if (byteCount > std::numeric_limits<uint32_t>::max() - mPosition)
        return ERROR_FILEIO_WRITEERROR;
    const uint8_t* bytes = static_cast<const uint8_t*>(address);
    size_t end = static_cast<size_t>(mPosition) + byteCount;
    if (end > mBytes.size())
        mBytes.resize(end);
    std::copy(bytes, bytes + byteCount, mBytes.begin() + mPosition);
    mPosition = static_cast<uint32_t>(end);
    return ERROR_OK;
}

ErrorCode ByteVectorOutputStream::seek(uint32_t position)
{
    if (position > mBytes.size())
        return ERROR_FILEIO_READERROR;
    mPosition = position;
    return ERROR_OK;
}

ErrorCode writeStreamSafely(const std::string& path, uint32_t flags,
                            const std::function<ErrorCode(OutputStream&)>& write)
{
    ByteVectorOutputStream stream(flags);
    if (ErrorCode error = write(stream))
        return error;
    return writeFileSafely(path,
                           [&](StdioFile& file)
                           {
                               const std::vector<uint8_t>& bytes = stream.bytes();
                               return file.writeBytes(bytes.data(), static_cast<uint32_t>(bytes.size()));
                           });
}
