#include "engine/files/BlockRecycler.h"

#include <cstdlib>
#include <mutex>
#include <vector>

namespace BlockRecycler {

namespace {

struct Block {
    char *data;
    qint64 capacity;
};

struct Kept {
    std::mutex mutex;
    std::vector<Block> blocks;
    qint64 bytes = 0;

    ~Kept()
    {
        for (const Block &block : blocks)
            std::free(block.data);
    }
};

Kept &kept()
{
    static Kept instance;
    return instance;
}

} // namespace

char *take(qint64 size, qint64 &capacity)
{
    if (size < MinBlockSize)
        return nullptr;
    Kept &store = kept();
    const std::lock_guard lock(store.mutex);
    auto best = store.blocks.end();
    for (auto block = store.blocks.begin(); block != store.blocks.end(); ++block)
        if (block->capacity >= size && (best == store.blocks.end() || block->capacity < best->capacity))
            best = block;
    if (best == store.blocks.end())
        return nullptr;
    char *data = best->data;
    capacity = best->capacity;
    store.bytes -= capacity;
    store.blocks.erase(best);
    return data;
}

void give(char *data, qint64 capacity)
{
    if (data && capacity >= MinBlockSize) {
        Kept &store = kept();
        const std::lock_guard lock(store.mutex);
        if (int(store.blocks.size()) < MaxBlocks && store.bytes + capacity <= MaxBytes) {
            store.blocks.push_back({data, capacity});
            store.bytes += capacity;
            return;
        }
    }
    std::free(data);
}

} // namespace BlockRecycler
