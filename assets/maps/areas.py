"""What the game fixes about each area's map: its size and what stands at
the top (map pixels of the top-left corner of a 24 x 21 actor).

The tables the game itself is built from (checkpoint views, huts, overlay
windows, the fortress, start actors, the spawn chains and the gate wave) are in
assets/areas/ (area_data.py reads them); the consistency checker tests the
layouts against both, and the review tool marks them on the pictures.
"""

VIEW_W, VIEW_H = 320, 160
ACTOR_W, ACTOR_H = 24, 21

# area: map height in blocks
MAP_HEIGHTS = {1: 196, 2: 187, 3: 214, 4: 188, 5: 214, 6: 209, 7: 214, 8: 214}
TITLE_HEIGHT = 160  # Level0: eight title views of 160 px

GATE_PASSAGE = (120, 207)          # x range of the gate opening, rows 0..47
GATE_WINGS = ((104, 119), (208, 223))
BELOW_GATE = (140, 204, 32, 80)    # x0, x1, y0, y1: where gate soldiers walk out
HERO_TOP = 54                      # the hero cannot go above this y at the top
# His probes reach no higher than 15 px below his top: above this row of
# the map nothing ever stops him, and only the soldiers and the bullets meet
# what is solid there.  A soldier who walks into a wall up there is out of
# every bullet's reach, and a player with no grenade left can never end the
# gate wave: the area's top is open to them, whatever is drawn there (water
# stays water).
TOP_OPEN = 64
LOW_BAND = (160, 183)              # rows at the top out of the hero's shots

# Vertical car lanes (x range of the car's left edge): area 2 from below, 7 from above.
VERTICAL_CARS = {2: (80, 240), 7: (80, 240)}
