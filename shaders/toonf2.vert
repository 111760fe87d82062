#version 120
// Cartoon shading: the diffuse light of GL_LIGHT0 cut into four flat bands per fragment.
varying vec3 normal;
varying vec3 eyePos;

void main() {
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    eyePos = eye.xyz;
    normal = gl_NormalMatrix * gl_Normal;
    gl_Position = ftransform();
}
