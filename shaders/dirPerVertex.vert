#version 120
// Diffuse light from GL_LIGHT0 taken as a directional light, evaluated per vertex.
void main() {
    vec3 toLight = normalize(gl_LightSource[0].position.xyz);
    float diffuse = max(dot(normalize(gl_NormalMatrix * gl_Normal), toLight), 0.0);
    vec3 color = gl_FrontLightModelProduct.sceneColor.rgb + gl_FrontLightProduct[0].ambient.rgb +
                 gl_FrontLightProduct[0].diffuse.rgb * diffuse;
    gl_FrontColor = vec4(color, gl_FrontMaterial.diffuse.a);
    gl_Position = ftransform();
}
