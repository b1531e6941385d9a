#include "Network/NetworkPlayerSet.h"

SlotTable::SlotTable(NetworkEndpoint* owner, uint32_t capacity) : mOwner(owner), mSlots(capacity) {}

bool SlotTable::add(std::shared_ptr<NetworkPlayerInfo> player)
{
    if (!player || mCount >= mSlots.size() || indexOf(player.get()) >= 0)
        return false;
    for (auto& slot : mSlots)
    {
        if (!slot)
        {
            slot = std::move(player);
            ++mCount;
            return true;
        }
    }
    return false;
}

std::shared_ptr<NetworkPlayerInfo> SlotTable::remove(const NetworkPlayerInfo* player)
{
    int index = indexOf(player);
    if (index < 0)
        return nullptr;
    --mCount;
    return std::move(mSlots[static_cast<size_t>(index)]);
}

int SlotTable::indexOf(const NetworkPlayerInfo* player) const
{
    if (player == nullptr)
        return -1;
    for (size_t i = 0; i < mSlots.size(); ++i)
    {
        if (mSlots[i].get() == player)
            return static_cast<int>(i);
    }
    return -1;
}

std::shared_ptr<NetworkPlayerInfo> SlotTable::find(const NetworkPlayerInfo* player) const
{
    int index = indexOf(player);
    return index < 0 ? nullptr : mSlots[static_cast<size_t>(index)];
}
