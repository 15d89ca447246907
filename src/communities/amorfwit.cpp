// Placeholder row: replaced by the community's real preset and rules.
#include "communities/community.h"

namespace tintwalk {

const CommunityPreset kAmorfwit = {"amorfwit",
                                   0,
                                   {196, 196, 196},
                                   {},
                                   {DefaultRule, DefaultRule, DefaultRule, DefaultRule, DefaultRule,
                                    DefaultRule, DefaultRule, DefaultRule}};

}  // namespace tintwalk
