#pragma once

// Shows the summary of the choices; returns only when the user confirms, and
// otherwise deletes the output file and ends the process with status 2.
void confirm_choices();
