// The bot step of a parallel pass (core/parallel_step.h): the same step as
// a plain pass, which also records what the pass needs to check a trial run
// and to take it up again at any step.
#pragma once

#include "core/bot_step.h"

namespace tintwalk {

template <Gather kGather, bool kPaintRgb, typename Rule>
TINTWALK_ALWAYS_INLINE void RunRecordedSteps(Bot& bot, const PassTarget& target, uint32_t first,
                                             StepRecord* records, Rule rule) {
    PassState pass(bot, target.hsl, target.rgb, target.width, target.height);
    const uint32_t length = bot.trailLength;
    for (uint32_t slot = first; slot < length; ++slot) {
        StepRecord& record = records[slot];
        record.state = bot.state;
        record.heading = static_cast<uint8_t>(pass.heading);
        record.colour = StepWith<kGather, Rule, kPaintRgb>(bot, pass, slot, rule);
    }
    pass.Finish(bot);
    bot.stepIndex = length;
}

template <BotRule kRule, bool kPaintRgb>
TINTWALK_FLATTEN void RunRecordedPortable(Bot& bot, const PassTarget& target, uint32_t first,
                                          StepRecord* records) {
    RunRecordedSteps<Gather::kPortable, kPaintRgb>(bot, target, first, records, kRule);
}

#if defined(TINTWALK_SSSE3_GATHER)
template <BotRule kRule, bool kPaintRgb>
__attribute__((target("ssse3"))) TINTWALK_FLATTEN void RunRecordedSsse3(Bot& bot,
                                                                        const PassTarget& target,
                                                                        uint32_t first,
                                                                        StepRecord* records) {
    RunRecordedSteps<Gather::kSsse3, kPaintRgb>(bot, target, first, records, kRule);
}
#endif

// A recorded pass with the rule built in; without RGB cells it paints none.
template <BotRule kRule>
void RunRecordedPassWith(Bot& bot, const PassTarget& target, uint32_t first, StepRecord* records) {
#if defined(TINTWALK_SSSE3_GATHER)
    if (useSsse3Gather) {
        if (target.rgb != nullptr)
            RunRecordedSsse3<kRule, true>(bot, target, first, records);
        else
            RunRecordedSsse3<kRule, false>(bot, target, first, records);
        return;
    }
#endif
    if (target.rgb != nullptr)
        RunRecordedPortable<kRule, true>(bot, target, first, records);
    else
        RunRecordedPortable<kRule, false>(bot, target, first, records);
}

}  // namespace tintwalk
