#pragma once

// The camera of a scene view: three rotation angles that advance every tick, an eye that
// orbits the centre of the scene at a fixed distance and drifts to and fro sideways and up and
// down between bounds. Plain data, so that its motion can be driven and checked without a
// window or an OpenGL context.
struct OrbitCamera {
    double basedist = 0.0; // eye distance behind the orbit centre
    double maxup = 0.0;    // bound of upoff
    double maxrt = 0.0;    // bound of rtoff
    double xangle = 0.0;   // radians
    double yangle = 0.0;
    double zangle = 0.0;
    double dxang = 0.0; // radians per tick, either sign
    double dyang = 0.0;
    double dzang = 0.0;
    double pi = 0.0;
    double pi2 = 0.0;   // the period at which a rising angle wraps
    double rtoff = 0.0; // eye offset along the right vector
    double upoff = 0.0; // eye offset along the up vector
    double drt = 0.0;   // per tick; flips sign past a bound
    double dup = 0.0;
    double px = 0.0, py = 0.0, pz = 0.0; // eye
    double fx = 0.0, fy = 0.0, fz = 0.0; // forward, unit length
    double ux = 0.0, uy = 0.0, uz = 0.0; // up, unit length
    double rx = 0.0, ry = 0.0, rz = 0.0; // right = forward x up
    double offx = 0.0, offy = 0.0;       // unused; kept for the layout of the camera state

    // A camera with its random parameters. Takes exactly thirteen random values: the three
    // angles, the vertical then the side offset step, a coin for each of those two signs, the
    // three angle steps, and a coin for each of their signs (x, y, z).
    static OrbitCamera randomCamera();

    bool operator==(const OrbitCamera&) const = default;
};

// Advances each angle by its step, wrapping only a rising angle that passes above 2π (a
// falling one is left to run below zero; sine and cosine do not mind).
void advanceAngles(OrbitCamera& camera);

// Rebuilds the forward, up and right vectors from the angles, moves the two offsets one step
// (reversing a step on the tick after which its offset lies beyond the bound) and places the
// eye basedist behind the offset centre.
void calculateCameraPosition(OrbitCamera& camera);

// Multiplies the camera's angle and drift steps; a factor of 1 leaves the camera untouched.
void scaleCameraSteps(OrbitCamera& camera, double factor);
