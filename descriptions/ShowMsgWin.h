// The description panel's Windows side: its texts read from the data library.
// The drawing members of TDrawMsg (Draw, DrawMessage, UpdatePanel, DrawPanel)
// are defined beside this, over the glyph lists of the text output.
#pragma once

#include "common/DataResources.h"
#include "descriptions/ShowMsg.h"
#include "support/Win.h"

#include <cstdint>
#include <string>

// RCDATA resources of the data library.
inline constexpr std::int32_t DescriptionResource = DATA_DESCRIPTIONS;
inline constexpr std::int32_t MessageResource = DATA_MESSAGES;

// The bytes of one RCDATA resource; empty when the module is null or lacks it.
std::string ReadTextResource(HMODULE module, std::int32_t id);

// TDrawMsg::Create with the description text and the message list of `dataLibrary`.
void CreateDescPanel(TDrawMsg& panel, HMODULE dataLibrary);
