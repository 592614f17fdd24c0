#include "party/party_descriptions.h"

#include <cstring>

#include "party/creation_rules.h"
#include "rules/creature_record.h"

namespace {

// Four backgrounds for each class and gender; "%s" stands for the name.
const char* const kKnightMale[kDescriptionsEach] = {
    "%s was the third son of a border lord and knew early that no land would come to him. He "
    "trained with the garrison until the captain ran out of things to teach, then took his "
    "sword and his patience on the road.",
    "%s served ten years in the duke's levy and came home to find his village burned and empty. "
    "He keeps his oath to the crown, but he rides now for the people the crown forgot.",
    "Raised in a smithy, %s learned the weight of steel before he learned his letters. He still "
    "mends his own mail, trusts a plain blade over a fine one, and speaks little before a fight.",
    "%s won his spurs at a tourney he was never meant to enter. The prize is long spent, but the "
    "habit of riding toward trouble has stayed with him, along with a scar he likes to explain.",
};
const char* const kKnightFemale[kDescriptionsEach] = {
    "%s was sworn to the order of the Grey Tower at sixteen and has never broken a vow. She is "
    "slow to anger and slower to forgive, and she guards those behind her shield without a word.",
    "The daughter of a ferryman, %s fought off river pirates with an oar before she ever held a "
    "sword. A passing knight took her as squire; she outlasted him and kept his horse.",
    "%s commanded the night watch of a walled town for five hard winters. She knows how fear "
    "spreads through a crowd and how quickly a steady voice can stop it.",
    "Nobody in her family had ever carried arms until %s took up her grandfather's rusted blade "
    "to defend the mill. She has been polishing it, and her skill, ever since.",
};
const char* const kClericMale[kDescriptionsEach] = {
    "%s tended the sick in a plague year when the other priests fled. He believes a prayer is "
    "only half a cure, and he carries bandages and a heavy mace for the other half.",
    "Once a gambler and a brawler, %s found his faith at the bottom of a well where his debtors "
    "had thrown him. He climbed out a changed man, though he still cheats at dice now and then.",
    "%s grew up in a hill monastery, copying prayers by candlelight. He left to see whether the "
    "words he copied hold true in the world below, and so far he has not been disappointed.",
    "The village of %s had no priest, so he became one. He knows every farmer by name, every "
    "well by taste, and every saint's day by the food that is served on it.",
};
const char* const kClericFemale[kDescriptionsEach] = {
    "%s was left on the steps of a temple as a child and has served its god ever since. She "
    "speaks gently, heals without asking who is to blame, and fights fiercely when she must.",
    "A midwife's daughter, %s has brought more lives into the world than she can count. Her "
    "faith is practical: clean water, warm hands and a blessing said at the right moment.",
    "%s walked barefoot to every shrine in the kingdom to fulfil a vow she will not speak of. "
    "The roads hardened her feet and her resolve in equal measure.",
    "Before she took her vows, %s was a soldier's cook who learned to stitch wounds between "
    "meals. She still keeps a ladle in her pack and swears it has turned more than one blade.",
};
const char* const kWizardMale[kDescriptionsEach] = {
    "%s spent twelve years as an apprentice to a tower wizard who taught him mostly how to sweep "
    "floors. He learned the rest by reading his master's books at night, one stolen page at a time.",
    "A scholar of the old runes, %s left the college after a quarrel about a footnote. He is "
    "absent-minded, short-sighted and rather more dangerous than he looks.",
    "%s discovered his gift when he set the schoolhouse roof alight at the age of nine. He has "
    "had better control of it since, though he still keeps a bucket near his bed.",
    "The son of a travelling conjurer, %s grew up among card tricks and painted smoke. He wanted "
    "real magic, found it in a pedlar's forgotten book, and has not looked back.",
};
const char* const kWizardFemale[kDescriptionsEach] = {
    "%s was the youngest student ever admitted to the college of the Seven Lamps and the first "
    "to be asked to leave. She considers the second honour greater than the first.",
    "A herbalist's daughter, %s noticed that some of her mother's recipes worked better when she "
    "spoke over them. She has studied the words ever since, and the herbs are now an afterthought.",
    "%s keeps a journal of every spell she has seen cast, good or ill. She travels to fill its "
    "empty pages and is not always patient with people who stand between her and a new entry.",
    "The court astrologer's apprentice, %s read something in the stars she did not like and left "
    "the palace that same night. She has not said what it was, and no one has dared to ask twice.",
};

const char* const* Texts(int32_t creatureClass, int32_t gender) {
  const bool female = gender == kGenderFemale;
  switch (creatureClass) {
    case kClassKnight: return female ? kKnightFemale : kKnightMale;
    case kClassCleric: return female ? kClericFemale : kClericMale;
    case kClassWizard: return female ? kWizardFemale : kWizardMale;
    default: return nullptr;
  }
}

}  // namespace

const char* PartyDescription(int32_t creatureClass, int32_t gender, int index) {
  const char* const* texts = Texts(creatureClass, gender);
  if (!texts || index < 0 || index >= kDescriptionsEach) return nullptr;
  return texts[index];
}

void FillInName(char* description, size_t size, const char* name) {
  if (size == 0) return;
  char out[kFilledDescriptionBytes + 1] = {};
  const size_t limit = size - 1 < kFilledDescriptionBytes ? size - 1 : kFilledDescriptionBytes;
  size_t n = 0;
  for (const char* p = description; *p && n < limit; ++p) {
    if (p[0] == '%' && p[1] == 's') {
      for (const char* q = name; *q && n < limit; ++q) out[n++] = *q;
      ++p;
    } else {
      out[n++] = *p;
    }
  }
  std::memset(description, 0, size);
  std::memcpy(description, out, n);
}
