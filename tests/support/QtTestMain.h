#pragma once

struct Artwork;

// The game's pictures, loaded once by the shared test main for the whole run.
const Artwork& testArtwork();
