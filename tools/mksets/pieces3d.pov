// The project's own lathe models of the six chess pieces, for the
// perspective piece sheets. Declared: Piece (0 king .. 5 pawn), Colour
// (0 White, 1 Black), CameraDistance, Elevation, FieldTan (the tangent of
// half the horizontal view angle), Aspect (height / width).
#version 3.7;
global_settings { assumed_gamma 1.0 }

#declare Ivory = texture {
  pigment { color rgb <0.93, 0.89, 0.80> }
  finish { ambient 0.12 diffuse 0.75 specular 0.35 roughness 0.02 }
}
#declare Ebony = texture {
  pigment { color rgb <0.07, 0.06, 0.06> }
  finish { ambient 0.08 diffuse 0.55 specular 0.6 roughness 0.01 reflection 0.04 }
}
#declare Mat = texture { #if (Colour = 0) Ivory #else Ebony #end }

// A turned base shared by every piece: foot, collar and stem.
#macro Body(Top, Waist)
  lathe { cubic_spline 12,
    <0, 0>, <0.00, 0.00>, <0.46, 0.00>, <0.46, 0.07>, <0.40, 0.11>, <0.42, 0.15>,
    <0.30, 0.22>, <Waist, Top * 0.55>, <Waist * 0.95, Top>, <0.00, Top>, <0, Top>, <0, Top>
  }
#end

#declare PawnModel = union {
  Body(0.52, 0.17)
  torus { 0.22, 0.04 translate y * 0.52 }
  sphere { <0, 0.72, 0>, 0.2 }
}
#declare RookModel = union {
  Body(0.70, 0.28)
  difference {
    cylinder { <0, 0.66, 0>, <0, 0.90, 0>, 0.34 }
    cylinder { <0, 0.80, 0>, <0, 0.95, 0>, 0.22 }
    #for (k, 0, 3)
      box { <-0.05, 0.80, -0.5>, <0.05, 0.95, 0.5> rotate y * (k * 45) }
    #end
  }
}
#declare BishopModel = union {
  Body(0.80, 0.17)
  torus { 0.20, 0.04 translate y * 0.78 }
  difference {
    sphere { <0, 1.0, 0>, 0.2 scale <1, 1.45, 1> translate y * -0.45 }
    box { <-0.3, 0, -0.025>, <0.3, 0.3, 0.025> rotate z * 40 translate y * 1.02 }
  }
  sphere { <0, 1.26, 0>, 0.06 }
}
#declare QueenModel = union {
  Body(0.95, 0.2)
  torus { 0.23, 0.045 translate y * 0.93 }
  difference {
    cone { <0, 0.95, 0>, 0.24, <0, 1.18, 0>, 0.33 }
    sphere { <0, 1.3, 0>, 0.24 }
  }
  #for (k, 0, 7)
    sphere { <0.3, 1.2, 0>, 0.05 rotate y * (k * 45) }
  #end
  sphere { <0, 1.2, 0>, 0.13 }
  sphere { <0, 1.36, 0>, 0.065 }
}
#declare KingModel = union {
  Body(1.0, 0.21)
  torus { 0.24, 0.045 translate y * 0.98 }
  cone { <0, 1.0, 0>, 0.25, <0, 1.22, 0>, 0.32 }
  cylinder { <0, 1.22, 0>, <0, 1.27, 0>, 0.3 }
  box { <-0.04, 1.27, -0.04>, <0.04, 1.52, 0.04> }
  box { <-0.12, 1.37, -0.04>, <0.12, 1.44, 0.04> }
}
#declare KnightModel = union {
  Body(0.42, 0.3)
  // The head: a profile extruded across, rounded by a blob of spheres.
  intersection {
    prism { linear_sweep linear_spline -0.14, 0.14, 9,
      <-0.28, 0.40>, <0.30, 0.40>, <0.26, 0.80>, <0.08, 1.12>, <-0.06, 1.16>,
      <-0.36, 0.92>, <-0.34, 0.78>, <-0.12, 0.78>, <-0.28, 0.40>
      rotate x * -90
    }
    sphere { <0, 0.78, 0>, 0.62 }
  }
  sphere { <0.02, 1.1, 0.07>, 0.035 }
  sphere { <0.02, 1.1, -0.07>, 0.035 }
}

object {
  #switch (Piece)
    #case (0) KingModel #break
    #case (1) QueenModel #break
    #case (2) RookModel #break
    #case (3) BishopModel #break
    #case (4) KnightModel #break
    #else PawnModel
  #end
  texture { Mat }
  // Knights face the viewer's left, as in print.
  #if (Piece = 4) rotate y * (Colour = 0 ? 0 : 180) #end
}

camera {
  perspective
  location <0, CameraDistance * sin(radians(Elevation)), -CameraDistance * cos(radians(Elevation))>
  look_at <0, 0, 0>
  right x * 2 * FieldTan
  up y * 2 * FieldTan * Aspect
}
light_source {
  <-6, 10, -8> color rgb 1.1
  area_light <2, 0, 0>, <0, 2, 0>, 5, 5 adaptive 1 jitter
}
light_source { <6, 4, -6> color rgb 0.35 shadowless }
