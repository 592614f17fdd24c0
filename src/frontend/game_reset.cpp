#include "frontend/game_reset.h"

#include "adventure/quest_journal.h"
#include "adventure/scripts.h"
#include "combat/actions/action_executor.h"
#include "combat/actions/attack_actions.h"
#include "combat/actions/attack_support.h"
#include "combat/actions/combat_sounds.h"
#include "combat/actions/cursor_checks.h"
#include "combat/actions/combat_movement.h"
#include "combat/actions/displacement.h"
#include "combat/actions/reactions.h"
#include "combat/actions/roll_previews.h"
#include "combat/actions/walking.h"
#include "combat/actions/start_of_combat.h"
#include "combat/resolution/area_targets.h"
#include "combat/resolution/attack_resolution.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/resolution/spell_preview.h"
#include "combat/turns/adjacency_queries.h"
#include "combat/turns/area_placement.h"
#include "combat/turns/combat_cycle.h"
#include "combat/turns/casting_questions.h"
#include "combat/turns/spell_choice.h"
#include "combat/turns/decision_words.h"
#include "combat/turns/tactics.h"
#include "combat/turns/valuation_grid.h"
#include "combat/turns/computer_decision.h"
#include "combat/turns/tactical_predicates.h"
#include "combat/turns/turn_upkeep.h"
#include "map/area_shapes.h"
#include "map/combatant_grid.h"
#include "map/line_of_effect.h"
#include "map/map_record.h"
#include "map/map_switching.h"
#include "map/movement_rules.h"
#include "map/party_vision.h"
#include "map/party_walk.h"
#include "map/path_finding.h"
#include "map/rain_shelter.h"
#include "map/square_entry.h"
#include "map/square_grids.h"
#include "party/party_screens.h"
#include "rules/adjacency.h"
#include "rules/creature_forms.h"
#include "rules/creature_record.h"
#include "rules/dice.h"
#include "rules/inventory_slots.h"
#include "rules/modifier_list.h"
#include "screens/game/game_screen.h"
#include "screens/game/map_view.h"
#include "screens/items/inventory_screen.h"
#include "state/camera.h"
#include "state/combat_action.h"
#include "state/combat_events.h"
#include "state/encounters.h"
#include "state/fighter_slots.h"
#include "state/game_flags.h"
#include "state/game_progress.h"
#include "state/game_screen_words.h"
#include "state/inventory_state.h"
#include "state/map_view_state.h"
#include "state/party_leader.h"
#include "state/queued_actions.h"
#include "state/script_state.h"
#include "state/text_entry.h"
#include "state/threat_grids.h"
#include "state/turn_order.h"
#include "state/world_travel.h"

void ResetGameStateButCreaturesAndMaps() {
  ResetInventoryScreenState();
  ResetEncountersState();
  ResetScriptsState();
  ResetAttackSupportState();
  ResetCombatSoundsState();
  ResetCursorChecksState();
  ResetDisplacementState();
  ResetActionExecutorState();
  ResetReactionsState();
  ResetRollPreviewsState();
  ResetAttackActionsState();
  ResetCombatMovementState();
  ResetWalkingState();
  ResetAreaTargetsState();
  ResetAttackRollState();
  ResetCombatSequencerState();
  ResetSpellPreviewState();
  ResetCombatCycleState();
  ResetSpellChoiceState();
  ResetCastingQuestionsState();
  ResetAdjacencyQueriesState();
  ResetDecisionWordsState();
  ResetValuationGridState();
  ResetAreaPlacementState();
  ResetTacticsState();
  ResetStartOfCombatState();
  ResetTurnUpkeepState();
  ResetComputerDecisionState();
  ResetCombatantGridState();
  ResetTacticalPredicatesState();
  ResetAreaShapesState();
  ResetLineOfEffectState();
  ResetMapSwitchingState();
  ResetMovementRulesState();
  ResetPartyVisionState();
  ResetPartyWalkState();
  ResetPathFindingState();
  ResetRainShelterState();
  ResetRegionsState();
  ResetSquareEntryState();
  ResetSquareGridsState();
  ResetPartyScreensState();
  ResetAdjacencyState();
  ResetCreatureFormsState();
  ResetDiceState();
  ResetInventorySlotsState();
  ResetModifierListState();
  ResetGameScreenState();
  ResetMapViewState();
  ResetCameraState();
  ResetCombatActionState();
  ResetCombatEventsState();
  ResetFighterSlotsState();
  ResetGameFlagsState();
  ResetGameProgressState();
  ResetGameScreenWordsState();
  ResetInventoryWords();
  ResetMapViewWords();
  ResetPartyLeaderState();
  ResetQueuedActionsState();
  ResetScriptWords();
  ResetTextEntryState();
  ResetThreatGridsState();
  ResetTurnOrderState();
  ResetWorldTravelState();
  ResetQuestJournal();
}

void ResetGameState() {
  ResetGameStateButCreaturesAndMaps();
  ResetCreatureRecordState();
  ResetMapRecordState();
}
