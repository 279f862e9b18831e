#include "files/DataItem.h"

#include "core/Channels.h"
#include "files/DataText.h"

CDataItem CDataItem::fromDataText(std::string_view dateTime, std::string_view dataText)
{
    CDataItem item;
    item.dateTime.assign(dateTime);
    item.fields.reserve(kChannelCount);
    for (int k = 0; k < kChannelCount; ++k)
        item.fields.emplace_back(dataTextField(dataText, static_cast<std::size_t>(k)));
    return item;
}
