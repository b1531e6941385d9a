// game.xml comes from the resource archive or the disk and may be damaged:
// any bytes must end in a description or a clean error with its message.
#include "Engine/Texture.h"
#include "Framework/BinaryStream.h"
#include "Platform/System/MessageSink.h"
#include "Tarnaveli/GameDescription/GameDescription.h"

#include <cstddef>
#include <cstdint>

namespace
{
class FuzzTexture final : public Texture
{
public:
    explicit FuzzTexture(const std::string& name) : Texture(nullptr, name, 0) {}
    ErrorCode lock(void**, int32_t*) override { return ERROR_INVALID; }
    ErrorCode unlock() override { return ERROR_OK; }
    bool isCreated() const override { return mLoadCount > 0; }
    ErrorCode doLoad() override { return ERROR_OK; }
    ErrorCode doUnload() override { return ERROR_OK; }
    ErrorCode onLostDevice() override { return ERROR_OK; }
    ErrorCode onResetDevice() override { return ERROR_OK; }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > UINT32_MAX)
        return 0;
    Platform::ScopedMessageCapture messages;
    MemoryInputStream stream(data, static_cast<uint32_t>(size));
    GameDescription description;
    // No 3D engine: the models stay empty and no file is looked up for them.
    description.setTextureLoader(
        [](const std::string& name) -> Texture*
        {
            // A name the 2D engine could not load.
            if (name.empty())
                return nullptr;
            return new FuzzTexture(name);
        });
    ErrorCode code = description.readDescription(stream, "game.xml");
    if (code != ERROR_OK && messages.messages().empty())
        __builtin_trap();
    if (code == ERROR_OK && description.getPionSetCount() > GameDescription::kMaxPionSets)
        __builtin_trap();
    return 0;
}
