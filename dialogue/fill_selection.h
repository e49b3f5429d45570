#pragma once

// The fill menu: zero bytes, advancing letters or one chosen byte, and for
// the single-value fills whether the sections carry checkpoints.
void select_fill();

// Offers to change the letter period.
void select_letter_period();

// Asks for the fill byte's decimal value until the user confirms one.
void select_fill_char();
