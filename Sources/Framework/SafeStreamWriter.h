#pragma once
// Binary files written through a stream, with the same guarantee as every
// file the program writes: the bytes are collected first and then written to
// a temporary file that replaces the target only once complete, so a failed
// write leaves the previous file whole.
#include "Framework/BinaryStream.h"

#include <functional>
#include <string>
#include <vector>

// An output stream that appends to a block of memory.
class ByteVectorOutputStream final : public OutputStream
{
public:
    using OutputStream::OutputStream;
    ErrorCode transfer(void* address, uint32_t byteCount) override;
    ErrorCode seek(uint32_t position) override;
    uint32_t tell() override { return mPosition; }
    bool isAtEnd() override { return mPosition >= mBytes.size(); }
    const std::vector<uint8_t>& bytes() const { return mBytes; }

private:
    std::vector<uint8_t> mBytes;
    uint32_t mPosition = 0;
};

// Lets `write` fill a stream with the flags word, then puts its bytes in
// place at `path` (a game path). Nothing is written when `write` fails; its
// code is returned. 13 when the file cannot be created, 15 when it cannot be
// written or renamed.
ErrorCode writeStreamSafely(const std::string& path, uint32_t flags,
                            const std::function<ErrorCode(OutputStream&)>& write);
