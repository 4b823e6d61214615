// Joins the drills, the checkmate exercises and the master class to the
// curriculum's launches and the teaching rooms' commands.
//
// Interface: ConnectTrainingScreens.
#pragma once

void ConnectTrainingScreens();
