#include "addin/live_objects.h"

namespace tilemond {
namespace {

int g_count = 0;

} // namespace

LiveObject::LiveObject()
{
    ++g_count;
}

LiveObject::~LiveObject()
{
    --g_count;
}

int LiveObject::count()
{
    return g_count;
}

} // namespace tilemond
