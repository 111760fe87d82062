#version 120
// Diffuse light from GL_LIGHT0 taken as a directional light, evaluated per fragment.
varying vec3 normal;

void main() {
    normal = gl_NormalMatrix * gl_Normal;
    gl_Position = ftransform();
}
