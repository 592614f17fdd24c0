#include "party/character_names.h"

#include <cstring>

#include "engine/random.h"
#include "rules/creature_record.h"

// Roughly in alphabetical order; a name given twice is drawn twice as often.
const char MaleNames[kMaleNameCount][kNameRowSize] = {
    "Abraham", "Adalric", "Adelard", "Aden", "Adric", "Aelfric", "Alaric", "Alban",
    "Albert", "Aldous", "Aldric", "Aldwin", "Alfred", "Alistair", "Alwin", "Ambrose",
    "Amory", "Anders", "Anselm", "Ansgar", "Archer", "Arden", "Arlen", "Arnold",
    "Arthur", "Arthur", "Aubrey", "Audric", "Aurel", "Avery", "Baldric", "Balthus",
    "Barnaby", "Bartram", "Basil", "Bastian", "Bede", "Benedict", "Beric", "Berold",
    "Bertil", "Bertram", "Bevan", "Blaise", "Bors", "Bram", "Brand", "Brandt",
    "Brannoc", "Brennan", "Brice", "Brom", "Bruno", "Cadell", "Cadoc", "Caedmon",
    "Calder", "Callum", "Caradoc", "Caspar", "Cedric", "Cerdic", "Clovis", "Conrad",
    "Conrad", "Corin", "Cormac", "Corwin", "Crispin", "Cuthbert", "Cyprian", "Dafydd",
    "Dagobert", "Damian", "Darian", "Declan", "Derrick", "Desmond", "Dorian", "Dorran",
    "Drogo", "Duncan", "Dunstan", "Eadric", "Eamon", "Eben", "Eberhard", "Edelmar",
    "Edgar", "Edmund", "Edmund", "Edric", "Edwin", "Egbert", "Eldred", "Elric",
    "Emeric", "Emrys", "Erland", "Ernald", "Esmond", "Evrard", "Ewan", "Fabian",
    "Falk", "Faolan", "Faramond", "Felix", "Fenwick", "Fergus", "Finian", "Finn",
    "Florian", "Fulk", "Gareth", "Gareth", "Garrick", "Gaspard", "Gavin", "Gawain",
    "Geoffrey", "Gerald", "Gerard", "Gervase", "Gideon", "Gilbert", "Giles", "Godfrey",
    "Godric", "Gorm", "Goswin", "Gregor", "Griffin", "Guthrie", "Guy", "Hadrian",
    "Hagen", "Hakon", "Halbert", "Halden", "Hamon", "Harald", "Harold", "Hector",
    "Helmut", "Henrik", "Herbert", "Hereward", "Hobart", "Horace", "Hubert", "Hugo",
    "Hugo", "Humbert", "Idris", "Ingram", "Isaac", "Ivo", "Ivor", "Jareth",
    "Jasper", "Jerome", "Jonas", "Jory", "Julian", "Kaspar", "Kendrick", "Kenelm",
    "Kester", "Lambert", "Laurent", "Leander", "Leofric", "Leopold", "Lewin", "Lionel",
    "Lorcan", "Lothar", "Lucan", "Lucian", "Ludovic", "Madoc", "Magnus", "Magnus",
    "Malcolm", "Manfred", "Marius", "Martin", "Matthias", "Mattias", "Maurice", "Meric",
    "Merrick", "Milo", "Mordaunt", "Nathaniel", "Neale", "Neville", "Niall", "Nicol",
    "Nigel", "Norbert", "Odo", "Olaf", "Oliver", "Oren", "Orin", "Osbert",
    "Osmund", "Osric", "Osric", "Oswald", "Otto", "Owain", "Padraig", "Pascal",
    "Percival", "Peregrine", "Perrin", "Piers", "Quentin", "Radulf", "Ragnar", "Raimund",
    "Rainer", "Ralf", "Randal", "Raoul", "Reginald", "Reinhold", "Renard", "Reynard",
    "Rhys", "Richard", "Robert", "Roderick", "Roger", "Roland", "Roland", "Rolf",
    "Rowan", "Rufus", "Rupert", "Rurik", "Sander", "Sebastian", "Serlo", "Severin",
    "Sigmund", "Silas", "Simon", "Soren", "Stefan", "Sylvan", "Tancred", "Tavin",
    "Theobald", "Theodric", "Thorald", "Tiernan", "Tobias", "Torin", "Tristan", "Tristan",
    "Ulf", "Ulric", "Urien", "Valens", "Valentin", "Vance", "Varian", "Vaughn",
    "Victor", "Vidar", "Viggo", "Walter", "Walter", "Warin", "Warren", "Wendel",
    "Wilfred", "Willem", "Wilmot", "Wolfram", "Wulfstan", "Wystan", "Yann", "Yorick",
    "Yves", "Zachary",
};

const char FemaleNames[kFemaleNameCount][kNameRowSize] = {
    "Adribeth", "Adela", "Agatha", "Agnes", "Alienor", "Alys", "Amabel", "Amice",
    "Annora", "Ariane", "Astrid", "Aveline", "Beatrix", "Belisande", "Bertha", "Blanche",
    "Branwen", "Brenna", "Brigid", "Brunhild", "Carys", "Cecily", "Celestine", "Clemence",
    "Constance", "Cordelia", "Cressida", "Dagny", "Delphine", "Dervla", "Edith", "Eira",
    "Elaine", "Eleanor", "Elfrida", "Elspeth", "Emma", "Enid", "Ermengard", "Esme",
    "Estrid", "Eudora", "Evelyn", "Fenella", "Fiona", "Freya", "Gisela", "Gwendolyn",
    "Gwyneth", "Hawise", "Hedda", "Helena", "Heloise", "Hilda", "Idony", "Ingrid",
    "Isabeau", "Isolde", "Ivetta", "Joan", "Jocasta", "Juliana", "Katrin", "Linnea",
    "Lisbet", "Lucinda", "Mabel", "Maelis", "Margery", "Marian", "Matilda", "Maud",
    "Melisande", "Mildred", "Morwenna", "Nesta", "Nicola", "Odile", "Olwen", "Orla",
    "Petronel", "Philippa", "Rohais", "Rosalind", "Rowena", "Sabine", "Seren", "Sibyl",
    "Sigrid", "Solveig", "Sunniva", "Tamsin", "Tegan", "Theda", "Thora", "Ursula",
    "Venetia", "Vivienne", "Wenna", "Winifred", "Ysolde", "Yvaine", "Zelda",
};

bool NameTakenBefore(int member, const char* name) {
  for (int m = 0; m < member && m < kPartySize; ++m)
    if (std::strcmp(Creatures[m].name, name) == 0) return true;
  return false;
}

void GiveRandomName(int member, int gender) {
  if (member < 0 || member >= kPartySize) return;
  char* name = Creatures[member].name;
  do {
    std::memset(name, 0, sizeof Creatures[member].name);
    const char* drawn = gender == 2 ? FemaleNames[RandomUpTo(kFemaleNameCount - 1)]
                                    : MaleNames[RandomUpTo(kMaleNameCount - 1)];
    std::memcpy(name, drawn, std::strlen(drawn));
  } while (NameTakenBefore(member, name));
}
